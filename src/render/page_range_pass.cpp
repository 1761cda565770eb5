// A range of pages drawn whole, in printing mode, one canvas a page, with a cancel check between pages.
#include "render/page_range_pass.h"

#include <algorithm>

#include "render/page_sheet.h"
#include "score/mus_file.h"

namespace notavera {
namespace {

// Going to a page starts on its first staff: the place the user was at is put back once the pages are out.
class PlaceKeeper {
public:
    PlaceKeeper(ScoreDocument& doc, UiServices& ui)
        : doc_(doc), ui_(ui), page_(doc.currentPage), staff_(doc.currentStaff), element_(doc.currentElement) {}
    ~PlaceKeeper() {
        if (doc_.currentPage != page_ && MoveWindowTo(doc_, ui_, page_) != FileOk) return;
        doc_.currentStaff = staff_;
        doc_.currentElement = element_;
    }
    PlaceKeeper(const PlaceKeeper&) = delete;
    PlaceKeeper& operator=(const PlaceKeeper&) = delete;

private:
    ScoreDocument& doc_;
    UiServices& ui_;
    int page_, staff_, element_;
};

bool DrawOnePage(ScoreDocument& doc, UiServices& ui, int number, PageCanvasFactory& pages,
                 const PageDrawOptions& options) {
    if (number != doc.currentPage && MoveWindowTo(doc, ui, number) != FileOk) return false;
    if (doc.page() == nullptr) return false;
    const PageSheet frame{number, SheetBox(doc, number), PageArea(doc, number)};
    Canvas* canvas = pages.beginPage(frame);
    if (canvas == nullptr) return false;
    DrawingContext dc;
    dc.canvas = canvas;
    dc.metafiles = ui.metafilePlayer();
    dc.printing = true;
    // Nothing is outside the window on paper: every element and running text counts as shown.
    dc.visibleRegion = {frame.area.left, frame.area.bottom, frame.area.right, frame.area.top};
    DrawPage(dc, doc, options);
    dc.canvas = nullptr;
    return pages.endPage();
}

}  // namespace

PageRangeResult DrawPageRange(ScoreDocument& doc, UiServices& ui, PageRange range, PageCanvasFactory& pages,
                              const std::function<bool()>& cancelled, const PageDrawOptions& options) {
    const int from = std::max(range.from, 1), to = std::min(range.to, doc.pageCount);
    const PlaceKeeper keepPlace(doc, ui);
    for (int copy = 0; copy < std::max(range.copies, 1); ++copy) {
        for (int number = from; number <= to; ++number) {
            if (cancelled && cancelled()) return PageRangeResult::Cancelled;
            if (!DrawOnePage(doc, ui, number, pages, options)) return PageRangeResult::Failed;
        }
    }
    return PageRangeResult::Done;
}

}  // namespace notavera
