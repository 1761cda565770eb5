// The spacing commands: each runs its respacing, alignment or page layout on the current page and
// repaints the view; the commands that need a marker beep without it.
#include "shell/spacing_commands.h"

#include <algorithm>
#include <climits>

#include "platform/messages.h"
#include "render/line_breaks.h"
#include "render/line_respacing.h"
#include "render/page_layout.h"
#include "render/recalculate_distances.h"
#include "render/space_blocks.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

const SignDistances& DistancesOf(const EditorContext& ctx) { return ctx.shell.settings.distanceSteps; }

// With a region marked on the page, the respacing keeps to it: its staves and its stretch of the line.
void RunSpaceLines(EditorContext& ctx, int command) {
    const std::optional<SpacingRegion> region = ReadSpacingMarkers(ctx).region;
    const auto space = [&](SpacingTarget target, SpacingMode mode) {
        SpaceLines(ctx.doc, DistancesOf(ctx), target, mode, region);
    };
    switch (command) {
        case cmd::SpaceLineRaw: space(SpacingTarget::CurrentLine, SpacingMode::Raw); break;
        case cmd::SpaceLineOptimised: space(SpacingTarget::CurrentLine, SpacingMode::Optimised); break;
        case cmd::SpaceBlockRaw: space(SpacingTarget::CurrentBlock, SpacingMode::Raw); break;
        case cmd::SpaceBlockOptimised: space(SpacingTarget::CurrentBlock, SpacingMode::Optimised); break;
        default: space(SpacingTarget::EachLineOfBlock, SpacingMode::Raw); break;  // cmd::SpaceBlockLines
    }
}

// The x of element `element` of staff `staff` on the page; nothing when the zone names no such element.
std::optional<int> ZoneElementX(const PageRecord& page, int staff, int element) {
    if (staff < 0 || staff >= static_cast<int>(page.staves.size())) return std::nullopt;
    const auto& els = page.staves[static_cast<std::size_t>(staff)].elements;
    if (element < 0 || element >= static_cast<int>(els.size())) return std::nullopt;
    return els[static_cast<std::size_t>(element)].x;
}

// The zone as a region: both ends marked on the current page. A zone marked from right to left or from a lower
// staff up is the same region; marker Y set before the staff's first element starts it at the line's start.
std::optional<SpacingRegion> MarkedRegion(const EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    if (page == nullptr || !zone.marked() || zone.page != ctx.doc.currentPage) return std::nullopt;
    const std::optional<int> lastX = ZoneElementX(*page, zone.lastStaff, zone.last);
    if (!lastX) return std::nullopt;
    const int count = static_cast<int>(page->staves.size());
    if (zone.startStaff < 0 || zone.startStaff >= count) return std::nullopt;
    const int startX = zone.start < 0 ? INT_MIN : ZoneElementX(*page, zone.startStaff, zone.start).value_or(INT_MIN);
    SpacingRegion region;
    region.fromX = std::min(startX, *lastX);
    region.toX = std::max(startX, *lastX);
    region.staves = LineRange{std::min(zone.startStaff, zone.lastStaff), std::max(zone.startStaff, zone.lastStaff)};
    return region;
}

void RunLayOutPage(EditorContext& ctx, int command) {
    const auto layOut = [&](PageLayoutMode mode) { return LayOutPage(ctx.doc, ctx.ui, DistancesOf(ctx), mode); };
    switch (command) {
        case cmd::LayOutPageRaw:
            if (layOut(PageLayoutMode::RawPage)) layOut(PageLayoutMode::FinishRaw);
            break;
        case cmd::LayOutPageJustified:
            if (layOut(PageLayoutMode::JustifiedPage)) layOut(PageLayoutMode::FinishJustified);
            break;
        default: layOut(PageLayoutMode::JustifyPage); break;  // cmd::JustifyPage
    }
}

void RunAlignMarked(EditorContext& ctx, int) {
    const std::optional<int> marked = ReadSpacingMarkers(ctx).markedStaff;
    if (!marked) {
        Beep(ctx.ui);
        return;
    }
    AlignBlock(ctx.doc, ctx.ui, *marked);
}

void RunMarkerX(EditorContext& ctx, int command) {
    const std::optional<int> x = ReadSpacingMarkers(ctx).x;
    if (!x) {
        Beep(ctx.ui);
        return;
    }
    if (command == cmd::JustifyToMarkerX) JustifyToMarkerX(ctx, *x);
    else MoveBlockToMarkerX(ctx, *x);
}

// Every spacing command may move any element of the page: the whole view is drawn again.
template <void (*Run)(EditorContext&, int)>
CommandHandler Repainting() {
    return [](EditorContext& ctx, int command) {
        if (ctx.doc.page() == nullptr) return;
        Run(ctx, command);
        ctx.ui.invalidate();
    };
}

// "Couper ligne->HAUT" and "Couper ligne->BAS" wait, under their own numbers as mouse modes, for the click that
// says where to cut: the click hands the point to CutLine. The continuous view has no lines of pages to cut
// between.
void StartLineCut(EditorContext& ctx, int command) {
    if (ctx.doc.staff() == nullptr || ctx.shell.view.continuousView) return;
    ctx.shell.input.mouseMode = command;
}

void RunRecalculate(EditorContext& ctx, int) {
    RecalculateDistances(ctx.doc, ctx.ui, DistancesOf(ctx), ctx.shell.view.continuousView);
}
void RunSpaceBlocksLines(EditorContext& ctx, int) {
    SpaceBlocks(ctx.doc, ctx.ui, DistancesOf(ctx), BlockSpacing::LinesThenAlign);
}
void RunSpaceBlocksAlign(EditorContext& ctx, int) {
    SpaceBlocks(ctx.doc, ctx.ui, DistancesOf(ctx), BlockSpacing::AlignOnly);
}
void RunAlignBlock(EditorContext& ctx, int) { AlignBlock(ctx.doc, ctx.ui); }

}  // namespace

SpacingMarkers ReadSpacingMarkers(const EditorContext& ctx) {
    const CursorState& cursor = ctx.shell.cursor;
    SpacingMarkers markers;
    if (cursor.markerX != 0) markers.x = cursor.markerX;
    // Marker Y is the start of the zone; its staff counts only on the page the commands work on.
    if (cursor.zone.marked() && cursor.zone.page == ctx.doc.currentPage) markers.markedStaff = cursor.zone.startStaff;
    markers.region = MarkedRegion(ctx);
    return markers;
}

int JustifyToMarkerX(EditorContext& ctx, int markerX) {
    PageRecord* page = ctx.doc.page();
    if (page == nullptr || ctx.doc.staff() == nullptr) return 0;
    if (!JustifyBlockToX(*page, BlockOfStaff(*page, ctx.doc.currentStaff), markerX)) {
        Beep(ctx.ui);
        return 0;
    }
    ctx.doc.markModified();
    return 1;
}

int MoveBlockToMarkerX(EditorContext& ctx, int markerX) {
    PageRecord* page = ctx.doc.page();
    const ElementRecord* current = ctx.doc.element();
    if (page == nullptr || current == nullptr) return 0;
    if (!MoveBlockToX(*page, BlockOfStaff(*page, ctx.doc.currentStaff), current->x, markerX)) return 0;
    ctx.doc.markModified();
    return 1;
}

int CutLine(EditorContext& ctx, int x, LineCut direction) {
    ScoreDocument& doc = ctx.doc;
    const PageRecord* page = doc.page();
    if (page == nullptr || doc.staff() == nullptr) return 0;
    const LinePlace here{static_cast<int>(page->number), BlockOfStaff(*page, doc.currentStaff)};
    switch (CutBlock(doc, ctx.ui, DistancesOf(ctx), here, x, direction)) {
        case LineCutOutcome::SplitsGroup: ShowNotice(ctx.ui, 54); return 0;
        case LineCutOutcome::NoLine: Beep(ctx.ui); return 0;
        case LineCutOutcome::Moved: break;
    }
    doc.currentElement = std::min(doc.currentElement, static_cast<int>(doc.staff()->elements.size()) - 1);
    doc.markModified();
    ctx.ui.invalidate();  // two lines, perhaps on two pages, changed
    return 1;
}

void RegisterSpacingCommands(CommandRegistry& registry) {
    for (const int command : {cmd::SpaceLineRaw, cmd::SpaceLineOptimised, cmd::SpaceBlockRaw, cmd::SpaceBlockOptimised,
                              cmd::SpaceBlockLines})
        registry.addCommand(command, Repainting<RunSpaceLines>(), UndoPolicy::Step);
    for (const int command : {cmd::LayOutPageRaw, cmd::LayOutPageJustified, cmd::JustifyPage})
        registry.addCommand(command, Repainting<RunLayOutPage>(), UndoPolicy::Step);
    registry.addCommand(cmd::SpaceBlockAligned, Repainting<RunSpaceBlocksLines>(), UndoPolicy::Step);
    registry.addCommand(cmd::AlignAutoMatrixTools, Repainting<RunSpaceBlocksAlign>(), UndoPolicy::Step);
    registry.addCommand(cmd::AlignAutoMatrix, Repainting<RunSpaceBlocksAlign>(), UndoPolicy::Step);
    registry.addCommand(cmd::Align, Repainting<RunAlignBlock>(), UndoPolicy::Step);
    registry.addCommand(cmd::AlignMarkedStaff, Repainting<RunAlignMarked>(), UndoPolicy::Step);
    registry.addCommand(cmd::RecalculateDistances, Repainting<RunRecalculate>(), UndoPolicy::Step);
    registry.addCommand(cmd::JustifyToMarkerX, Repainting<RunMarkerX>(), UndoPolicy::Step);
    registry.addCommand(cmd::MoveBlockToMarkerX, Repainting<RunMarkerX>(), UndoPolicy::Step);
    registry.addCommand(cmd::CutLineUp, StartLineCut);
    registry.addCommand(cmd::CutLineDown, StartLineCut);
}

}  // namespace notavera
