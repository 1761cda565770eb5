// The window rules and the slide of the memory window to another page.
#include "score/page_window.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "score/mus_file.h"

namespace notavera {

int KeptBeforeFor(std::uint64_t largestPageLength) {
    if (largestPageLength == 0) return maxKeptBefore;
    if (largestPageLength >= pageCacheBudget) return 0;
    return std::clamp(static_cast<int>(pageCacheBudget / largestPageLength) - 1, 0, maxKeptBefore);
}

PageRange OpeningWindow(int current, int keptBefore) { return {std::max(1, current - keptBefore), current}; }

PageRange SlidWindow(int target, int keptBefore, int pageCount) {
    PageRange r{target - keptBefore / 2, target - keptBefore / 2 + keptBefore};
    if (r.last > pageCount) {
        r.first -= r.last - pageCount;
        r.last = pageCount;
    }
    if (r.first < 1) r = {1, std::min(keptBefore + 1, pageCount)};
    return r;
}

int MoveWindowTo(ScoreDocument& doc, UiServices& ui, int page) {
    if (doc.pageCount < 1) return FileReadFailure;
    // Pages leave memory below: what was changed in them must be in the working file first.
    if (doc.modified && !SaveToWorkingFile(doc, ui)) return FileIoError;

    int target = std::clamp(page, 1, doc.pageCount);
    PageRange range;
    // Every missing page is read before the window changes. A page that cannot be read is dropped, as at opening,
    // and the range is drawn again: the pages behind it are numbered one less, the one aimed at too.
    std::vector<std::optional<PageRecord>> loaded;
    for (bool complete = false; !complete;) {
        target = std::clamp(target, 1, doc.pageCount);
        range = SlidWindow(target, doc.storage.keepBefore, doc.pageCount);
        loaded.assign(static_cast<std::size_t>(range.last - range.first + 1), std::nullopt);
        complete = true;
        for (int n = range.first; n <= range.last && complete; ++n) {
            if (doc.findPage(n)) continue;
            auto& slot = loaded[static_cast<std::size_t>(n - range.first)];
            slot = LoadPage(doc, ui, n);
            if (slot) continue;
            DropDamagedPage(doc, ui, n);
            if (target > n) --target;
            complete = false;
        }
    }
    std::vector<PageRecord> window;
    window.reserve(loaded.size());
    for (int n = range.first; n <= range.last; ++n) {
        auto& slot = loaded[static_cast<std::size_t>(n - range.first)];
        window.push_back(slot ? std::move(*slot) : std::move(*doc.findPage(n)));
    }
    doc.pages = std::move(window);
    doc.storage.windowFirst = range.first;
    doc.storage.windowLast = range.last;
    doc.currentPage = target;
    doc.currentStaff = 0;
    const PageRecord* current = doc.page();
    doc.currentElement = current && !current->staves.empty() && !current->staves[0].elements.empty() ? 0 : -1;
    return FileOk;
}

}  // namespace notavera
