// The tool commands of the "Insérer" and "Divers" menus: each makes its tool current; the check mark itself is
// moved by SelectTool before the handler runs.
#include "shell/tool_commands.h"

#include <array>

#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

struct ToolChoice {
    int command;
    int tool;
    int hideKind;  // for the hide/reveal tool, 0 otherwise
};

constexpr std::array<ToolChoice, 26> toolChoices{{
    {70, '{', 0}, {71, '(', 0}, {72, 'l', 0}, {73, '[', 0}, {74, '<', 0}, {75, '/', 0}, {76, '=', 0},
    {77, 'd', 0}, {78, 'b', 0}, {79, 'h', 0}, {80, 'D', 0}, {81, 'B', 0}, {82, '.', 0}, {83, ':', 0},
    {91, 'U', 0}, {92, 'u', 0}, {86, 'N', 0}, {87, 'S', 0}, {90, '|', 0},
    {88, hideRevealTool, 1}, {97, hideRevealTool, 2}, {96, hideRevealTool, 3},
    {89, 301, 0}, {93, 302, 0}, {94, 303, 0}, {95, 304, 0},
}};

void ApplyToolChoice(EditorContext& ctx, const ToolChoice& choice) {
    ShellState& shell = ctx.shell;
    shell.currentTool = choice.tool;
    if (choice.hideKind != 0) shell.hideKind = choice.hideKind;
    // The tools of the "Insérer" menu take no check mark and take it away from the checked one.
    if (!ToolTakesCheckMark(choice.command)) shell.toolMenuItem = 0;
}

}  // namespace

bool ToolTakesCheckMark(int command) {
    return (command >= 70 && command <= 79) || (command >= 86 && command <= 90) || (command >= 93 && command <= 97);
}

void ChooseToolWithoutCheckMark(EditorContext& ctx, int tool) {
    ctx.shell.currentTool = tool;
    ctx.shell.toolMenuItem = 0;
}

void RegisterToolCommands(CommandRegistry& registry) {
    for (const ToolChoice& choice : toolChoices)
        registry.addCommand(choice.command, [choice](EditorContext& ctx, int) { ApplyToolChoice(ctx, choice); });
}

}  // namespace notavera
