// The input tools chosen from the menus: which command gives which tool, and which of them carry the check mark.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// True for the tool commands whose choice moves the tool check mark (those of the Divers menu).
bool ToolTakesCheckMark(int command);

// Makes `tool` current from a symbol character (Z-symbol mode, free-slur choice): no menu item is checked.
void ChooseToolWithoutCheckMark(EditorContext& ctx, int tool);

void RegisterToolCommands(CommandRegistry& registry);

}  // namespace notavera
