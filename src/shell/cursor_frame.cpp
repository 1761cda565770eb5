// Measures of the current staff for the cursor, taken from the same staff placement the page pass uses.
#include "shell/cursor_frame.h"

#include <algorithm>

#include "render/page_staves.h"
#include "render/staff_metrics.h"
#include "score/score_document.h"

namespace notavera {

std::optional<CursorFrame> CursorFrameOf(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    if (page == nullptr) return std::nullopt;
    const SizeRatios ratios{doc.header.smallStaffNum(), doc.header.smallStaffDen(), doc.header.cueNum(),
                            doc.header.cueDen()};
    const bool usable = ratios.smallNum > 0 && ratios.smallDen > 0;
    const StaffMetrics m =
        DeriveStaffMetrics(static_cast<int>(page->layoutWord().staffSize()), usable ? ratios : SizeRatios{});
    CursorFrame f;
    f.lineLength = doc.lineEnd(*page);
    f.spacingStep = std::max(doc.spacingStep, 1);
    f.stepUnit = m.stepUnit;
    f.freeStep = m.stepUnit6;
    const int size = [&] {
        const auto i = static_cast<std::size_t>(doc.currentStaff);
        return i < page->staves.size() && page->staves[i].key().small() ? 1 : 0;
    }();
    f.staffHeight = m.staffHeight[static_cast<std::size_t>(size)];
    f.octaveSpan = m.octaveSpan[static_cast<std::size_t>(size)];
    f.halfSpace = m.halfSpace[static_cast<std::size_t>(size)];
    for (const StaffDrawState& s : PlacePageStaves(*page, m, doc.pageHeight, f.lineLength)) {
        f.staffStart.push_back(s.left + m.stepUnit3);
        f.staffY.push_back(s.referenceY);
        f.staffLines.push_back(s.lines);
    }
    return f;
}

PageRegion ViewRegionOf(const ScoreDocument& doc, const std::optional<PageRegion>& shown) {
    if (shown) return *shown;
    return PageRegion{.x0 = 0, .y0 = 0, .x1 = doc.pageWidth, .y1 = doc.pageHeight};
}

}  // namespace notavera
