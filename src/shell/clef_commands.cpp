// The commands of the "Clefs" menu.
#include "shell/clef_commands.h"

#include <array>

#include "edit/clef_entry.h"
#include "render/entry_distances.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"

namespace notavera {

namespace {

struct ClefCommand {
    int command;
    int clef;
};
constexpr std::array<ClefCommand, 12> clefCommands{{
    {201, 1}, {200, 2}, {202, 3}, {203, 4}, {205, 5}, {206, 6},
    {208, 7}, {207, 8}, {209, 9}, {204, 10}, {585, 11}, {594, 12},
}};

void RunClefCommand(EditorContext& ctx, int command) {
    const std::optional<int> clef = ClefOfCommand(command);
    if (!clef || !InsertClef(ctx.doc, ctx.shell.cursor.x, *clef)) return;
    ctx.ui.invalidate();
    AdvancePastSign(ctx, DistanceAfterClef(ctx.doc, ctx.shell.settings.distanceSteps));
}

}  // namespace

std::optional<int> ClefOfCommand(int command) {
    for (const ClefCommand& c : clefCommands)
        if (c.command == command) return c.clef;
    return std::nullopt;
}

void RegisterClefCommands(CommandRegistry& registry) {
    for (const ClefCommand& c : clefCommands) registry.addCommand(c.command, RunClefCommand);
}

}  // namespace notavera
