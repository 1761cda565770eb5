// The Zoom menu's commands.
#include "shell/zoom_commands.h"

#include <array>

#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/fraction_dialog.h"

namespace notavera {

namespace {

struct FixedZoom {
    int command;
    ZoomFraction zoom;
};
constexpr std::array<FixedZoom, 5> fixedZooms{{
    {cmd::ZoomNormal, {1, 1}},
    {cmd::ZoomLarge, {2, 1}},
    {cmd::ZoomSmall, {1, 2}},
    {cmd::ZoomThreeHalves, {3, 2}},
    {cmd::ZoomThreeQuarters, {3, 4}},
}};

std::optional<ZoomFraction> ZoomOfCommand(int command) {
    for (const FixedZoom& z : fixedZooms)
        if (z.command == command) return z.zoom;
    return std::nullopt;
}

std::optional<ZoomFraction> AskCustomZoom(EditorContext& ctx) {
    const ZoomFraction shown = ctx.shell.dialogs.customZoom;
    const std::optional<Fraction> f = RunFractionDialog(ctx, {shown.num, shown.den});
    if (!f) return std::nullopt;
    ctx.shell.dialogs.customZoom = ZoomFromDialog(f->num, f->den);
    return ctx.shell.dialogs.customZoom;
}

}  // namespace

void SetZoom(EditorContext& ctx, int command) {
    const std::optional<ZoomFraction> zoom = command == cmd::ZoomOther ? AskCustomZoom(ctx) : ZoomOfCommand(command);
    if (!zoom) return;
    ctx.shell.view.zoom = *zoom;
    ctx.shell.view.zoomMenuItem = command;
    // The window recomputes its fonts, scroll ranges and scroll origin from the new fraction as it repaints.
    ctx.ui.invalidate();
}

void RegisterZoomCommands(CommandRegistry& registry) {
    for (int command = cmd::FirstZoom; command <= cmd::LastZoom; ++command) registry.addCommand(command, SetZoom);
}

}  // namespace notavera
