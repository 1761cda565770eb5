// "Recalculer Distances" and the marker-X commands.
#include "render/recalculate_distances.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "render/document_spacing.h"
#include "render/page_layout.h"
#include "render/space_blocks.h"
#include "shell/editor_context.h"

namespace notavera {

int RecalculateDistances(EditorContext& ctx) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || ctx.doc.staff() == nullptr) return 0;
    const bool continuous = ctx.shell.view.continuousView;
    const int stepUnit = std::max(ctx.doc.stepUnit, 1);
    UnbreakableLines reported;  // the layout and the final pass both meet a line that cannot be broken
    if (BlockOfStaff(*page, ctx.doc.currentStaff).size() > 1) {
        SpaceBlocks(ctx, continuous ? BlockSpacing::LinesThenAlign : BlockSpacing::WholePage);
    } else {
        LayOutPage(ctx, PageLayoutMode::JustifiedPage, ctx.doc.spacingStep, reported);
        LayOutPage(ctx, continuous ? PageLayoutMode::FinishRaw : PageLayoutMode::FinishJustified);
    }
    return LayOutPage(ctx, PageLayoutMode::FinalPass, stepUnit, reported);
}

int JustifyToMarkerX(EditorContext& ctx, int markerX) {
    PageRecord* page = ctx.doc.page();
    if (page == nullptr || ctx.doc.staff() == nullptr) return 0;
    const std::vector<StaffRecord*> staves = StavesOf(*page, BlockOfStaff(*page, ctx.doc.currentStaff));
    int anchor = INT_MAX, last = INT_MIN;
    for (const StaffRecord* staff : staves) {
        for (const ElementRecord& e : staff->elements) {
            if (!e.isSign()) anchor = std::min(anchor, e.x);
            last = std::max(last, e.x);
        }
    }
    if (anchor == INT_MAX || last <= anchor || markerX <= anchor) {
        Beep(ctx.ui);
        return 0;
    }
    for (StaffRecord* staff : staves)
        for (ElementRecord& e : staff->elements)
            if (e.x > anchor)
                e.x = anchor + static_cast<int>(std::int64_t{e.x - anchor} * (markerX - anchor) / (last - anchor));
    ctx.doc.markModified();
    return 1;
}

int MoveBlockToMarkerX(EditorContext& ctx, int markerX) {
    PageRecord* page = ctx.doc.page();
    const ElementRecord* current = ctx.doc.element();
    if (page == nullptr || current == nullptr) return 0;
    const int from = current->x;
    const std::vector<StaffRecord*> staves = StavesOf(*page, BlockOfStaff(*page, ctx.doc.currentStaff));
    // Moving left stops at the nearest element in front of the moved ones, so that every staff keeps its order.
    int floor = INT_MIN;
    for (const StaffRecord* staff : staves)
        for (const ElementRecord& e : staff->elements)
            if (e.x < from) floor = std::max(floor, e.x);
    const int shift = std::max(markerX, floor) - from;
    if (shift == 0) return 0;
    for (StaffRecord* staff : staves)
        for (ElementRecord& e : staff->elements)
            if (e.x >= from) e.x += shift;
    ctx.doc.markModified();
    return 1;
}

}  // namespace notavera
