// The Zoom menu's commands.
#include "shell/zoom_commands.h"

#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/fraction_dialog.h"

namespace notavera {

namespace {

constexpr int firstZoomCommand = 51;
constexpr int lastZoomCommand = 56;

std::optional<ZoomFraction> AskCustomZoom(EditorContext& ctx) {
    const ZoomFraction shown = ctx.shell.dialogs.customZoom;
    const std::optional<Fraction> f = RunFractionDialog(ctx, {shown.num, shown.den});
    if (!f) return std::nullopt;
    ctx.shell.dialogs.customZoom = ZoomFromDialog(f->num, f->den);
    return ctx.shell.dialogs.customZoom;
}

}  // namespace

void SetZoom(EditorContext& ctx, int command) {
    const std::optional<ZoomFraction> zoom = command == ZoomOtherCommand ? AskCustomZoom(ctx) : ZoomForCommand(command);
    if (!zoom) return;
    ctx.shell.view.zoom = *zoom;
    ctx.shell.view.zoomMenuItem = command;
    // The window recomputes its fonts, scroll ranges and scroll origin from the new fraction as it repaints.
    ctx.ui.invalidate();
}

void RegisterZoomCommands(CommandRegistry& registry) {
    for (int command = firstZoomCommand; command <= lastZoomCommand; ++command) registry.addCommand(command, SetZoom);
}

}  // namespace notavera
