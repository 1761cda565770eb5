// The input tools chosen from the menus: which command gives which tool, and which of them carry the check mark.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The tool value of the tools that have no character.
inline constexpr int hideRevealTool = 300;

// True for the commands whose choice moves the tool check mark (70..79, 86..90, 93..97).
bool ToolTakesCheckMark(int command);

// Makes `tool` current from a symbol character (Z-symbol mode, free-slur choice): no menu item is checked.
void ChooseToolWithoutCheckMark(EditorContext& ctx, int tool);

void RegisterToolCommands(CommandRegistry& registry);

}  // namespace notavera
