// "Recalculer Distances" and the marker-X moves of a block.
#include "render/recalculate_distances.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "render/page_layout.h"
#include "render/space_blocks.h"
#include "score/score_document.h"

namespace notavera {

int RecalculateDistances(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, bool continuousView) {
    const PageRecord* page = doc.page();
    if (page == nullptr || doc.staff() == nullptr) return 0;
    const int stepUnit = std::max(doc.stepUnit, 1);
    UnbreakableLines reported;  // the layout and the final pass both meet a line that cannot be broken
    if (BlockOfStaff(*page, doc.currentStaff).size() > 1) {
        SpaceBlocks(doc, ui, distances, continuousView ? BlockSpacing::LinesThenAlign : BlockSpacing::WholePage);
    } else {
        LayOutPage(doc, ui, distances, PageLayoutMode::JustifiedPage, doc.spacingStep, reported);
        LayOutPage(doc, ui, distances, continuousView ? PageLayoutMode::FinishRaw : PageLayoutMode::FinishJustified);
    }
    return LayOutPage(doc, ui, distances, PageLayoutMode::FinalPass, stepUnit, reported);
}

bool JustifyBlockToX(PageRecord& page, LineRange block, int x) {
    const std::vector<StaffRecord*> staves = StavesOf(page, block);
    int anchor = INT_MAX, last = INT_MIN;
    for (const StaffRecord* staff : staves) {
        for (const ElementRecord& e : staff->elements) {
            if (!e.isSign()) anchor = std::min(anchor, e.x);
            last = std::max(last, e.x);
        }
    }
    if (anchor == INT_MAX || last <= anchor || x <= anchor) return false;
    for (StaffRecord* staff : staves)
        for (ElementRecord& e : staff->elements)
            if (e.x > anchor)
                e.x = anchor + static_cast<int>(std::int64_t{e.x - anchor} * (x - anchor) / (last - anchor));
    return true;
}

bool MoveBlockToX(PageRecord& page, LineRange block, int from, int x) {
    const std::vector<StaffRecord*> staves = StavesOf(page, block);
    // Moving left stops at the nearest element in front of the moved ones, so that every staff keeps its order.
    int floor = INT_MIN;
    for (const StaffRecord* staff : staves)
        for (const ElementRecord& e : staff->elements)
            if (e.x < from) floor = std::max(floor, e.x);
    const int shift = std::max(x, floor) - from;
    if (shift == 0) return false;
    for (StaffRecord* staff : staves)
        for (ElementRecord& e : staff->elements)
            if (e.x >= from) e.x += shift;
    return true;
}

}  // namespace notavera
