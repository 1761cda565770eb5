// The handlers of note entry: note keys, Enter, Insert, Delete, the attribute and sign characters, clefs, time
// signatures and staves.
#pragma once

namespace notavera {

class CommandRegistry;

void RegisterEntryCommands(CommandRegistry& registry);

}  // namespace notavera
