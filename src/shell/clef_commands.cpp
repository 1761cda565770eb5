// The commands of the "Clefs" menu.
#include "shell/clef_commands.h"

#include <array>

#include "edit/clef_entry.h"
#include "render/entry_distances.h"
#include "shell/command_ids.h"
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
    {cmd::ClefG2, 1},   {cmd::ClefG1, 2},  {cmd::ClefF4, 3},  {cmd::ClefF3, 4},
    {cmd::ClefC1, 5},   {cmd::ClefC2, 6},  {cmd::ClefC3, 7},  {cmd::ClefC4, 8},
    {cmd::ClefG8va, 9}, {cmd::ClefF5, 10}, {cmd::ClefC5, 11}, {cmd::ClefPercussion, 12},
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
    for (const ClefCommand& c : clefCommands) registry.addCommand(c.command, RunClefCommand, UndoPolicy::Typing);
}

}  // namespace notavera
