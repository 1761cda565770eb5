// The tool commands of the "Insérer" and "Divers" menus: each makes its tool current; the check mark itself is
// moved by SelectTool before the handler runs.
#include "shell/tool_commands.h"

#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/menu_table.h"

namespace notavera {

namespace {

void ApplyToolChoice(EditorContext& ctx, const ToolEntry& tool) {
    ShellState& shell = ctx.shell;
    shell.input.currentTool = tool.currentTool;
    if (tool.hideKind) shell.input.hideKind = static_cast<int>(*tool.hideKind);
    // The tools of the "Insérer" menu take no check mark and take it away from the checked one.
    if (!tool.takesCheckMark) shell.input.toolMenuItem = 0;
}

}  // namespace

bool ToolTakesCheckMark(int command) {
    const std::optional<ToolEntry> tool = FindTool(command);
    return tool && tool->takesCheckMark;
}

void ChooseToolWithoutCheckMark(EditorContext& ctx, int tool) {
    ctx.shell.input.currentTool = tool;
    ctx.shell.input.toolMenuItem = 0;
}

void RegisterToolCommands(CommandRegistry& registry) {
    for (const ToolEntry& tool : ToolTable())
        registry.addCommand(tool.command, [tool](EditorContext& ctx, int) { ApplyToolChoice(ctx, tool); });
}

}  // namespace notavera
