// The handlers of note entry: note keys, Enter, Insert, Delete, the attribute and sign characters, clefs, keys,
// time signatures, staves and the Détruire menu.
#pragma once

namespace notavera {

class CommandRegistry;

void RegisterEntryCommands(CommandRegistry& registry);

}  // namespace notavera
