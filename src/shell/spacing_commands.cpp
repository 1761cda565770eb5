// The spacing commands by number: each runs its respacing, alignment or page layout on the current page and
// repaints the view; the commands that need a marker beep without it.
#include "shell/spacing_commands.h"

#include "render/line_respacing.h"
#include "render/page_layout.h"
#include "render/recalculate_distances.h"
#include "render/space_blocks.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

void RunSpaceLines(EditorContext& ctx, int command) {
    switch (command) {
        case 225: SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Raw); break;
        case 235: SpaceLines(ctx, SpacingTarget::CurrentLine, SpacingMode::Optimised); break;
        case 236: SpaceLines(ctx, SpacingTarget::CurrentBlock, SpacingMode::Raw); break;
        case 237: SpaceLines(ctx, SpacingTarget::CurrentBlock, SpacingMode::Optimised); break;
        default: SpaceLines(ctx, SpacingTarget::EachLineOfBlock, SpacingMode::Raw); break;  // 248
    }
}

void RunLayOutPage(EditorContext& ctx, int command) {
    switch (command) {
        case 238:
            if (LayOutPage(ctx, PageLayoutMode::RawPage)) LayOutPage(ctx, PageLayoutMode::FinishRaw);
            break;
        case 239:
            if (LayOutPage(ctx, PageLayoutMode::JustifiedPage)) LayOutPage(ctx, PageLayoutMode::FinishJustified);
            break;
        default: LayOutPage(ctx, PageLayoutMode::JustifyPage); break;  // 267
    }
}

void RunAlignMarked(EditorContext& ctx, int) {
    const std::optional<int> marked = ReadSpacingMarkers(ctx).markedStaff;
    if (!marked) {
        Beep(ctx.ui);
        return;
    }
    AlignBlock(ctx, *marked);
}

void RunMarkerX(EditorContext& ctx, int command) {
    const std::optional<int> x = ReadSpacingMarkers(ctx).x;
    if (!x) {
        Beep(ctx.ui);
        return;
    }
    if (command == 221) JustifyToMarkerX(ctx, *x);
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

void RunRecalculate(EditorContext& ctx, int) { RecalculateDistances(ctx); }
void RunSpaceBlocksLines(EditorContext& ctx, int) { SpaceBlocks(ctx, BlockSpacing::LinesThenAlign); }
void RunSpaceBlocksAlign(EditorContext& ctx, int) { SpaceBlocks(ctx, BlockSpacing::AlignOnly); }
void RunAlignBlock(EditorContext& ctx, int) { AlignBlock(ctx); }

}  // namespace

// The editor does not keep marker X or marker Y yet: until the marker commands keep them, the commands that need
// a marker find none and beep, as they do when the user has set none.
SpacingMarkers ReadSpacingMarkers(const EditorContext& ctx) {
    const CursorState& cursor = ctx.shell.cursor;
    SpacingMarkers markers;
    if (cursor.markerX != 0) markers.x = cursor.markerX;
    // Marker Y is the start of the zone; its staff counts only on the page the commands work on.
    if (cursor.zone.marked() && cursor.zone.page == ctx.doc.currentPage) markers.markedStaff = cursor.zone.startStaff;
    return markers;
}

void RegisterSpacingCommands(CommandRegistry& registry) {
    for (const int command : {225, 235, 236, 237, 248}) registry.addCommand(command, Repainting<RunSpaceLines>());
    for (const int command : {238, 239, 267}) registry.addCommand(command, Repainting<RunLayOutPage>());
    registry.addCommand(249, Repainting<RunSpaceBlocksLines>());  // Bloc+alignement auto
    registry.addCommand(285, Repainting<RunSpaceBlocksAlign>());  // Aligner s/matrice auto (Outils)
    registry.addCommand(247, Repainting<RunSpaceBlocksAlign>());  // the same in Editer
    registry.addCommand(223, Repainting<RunAlignBlock>());        // Aligner
    registry.addCommand(224, Repainting<RunAlignMarked>());       // Aligner portée marquée
    registry.addCommand(284, Repainting<RunRecalculate>());       // Recalculer Distances
    registry.addCommand(221, Repainting<RunMarkerX>());           // Justifier (marqueurX)
    registry.addCommand(222, Repainting<RunMarkerX>());           // Déplacer bloc->marqueurX
}

}  // namespace notavera
