// The "Clefs" menu: a clef at the cursor (replacing the one there), with the cursor moved past it.
#pragma once

#include <optional>

namespace notavera {

class CommandRegistry;

// The clef number a "Clefs" command inserts; nothing for other commands.
std::optional<int> ClefOfCommand(int command);

void RegisterClefCommands(CommandRegistry& registry);

}  // namespace notavera
