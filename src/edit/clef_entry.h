// The "Clefs" menu: a clef at the cursor (replacing the one there), with the cursor moved past it.
#pragma once

#include <optional>

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The clef number a "Clefs" command inserts; nothing for other commands.
std::optional<int> ClefOfCommand(int command);

// Inserts clef number `clef` (1..12) at the cursor of the current staff.
void InsertClef(EditorContext& ctx, int clef);

void RegisterClefCommands(CommandRegistry& registry);

}  // namespace notavera
