// The Détruire commands: the marked region or the stretch from the cursor to marker Y, the rest of the line from the
// cursor, and the beam group, slur or rhythmic group at the current note.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// With a marked region shown, its elements go, staff by staff; otherwise, with marker Y on the current staff,
// the elements from the cursor to the marked element, both included. The zone and markers are used up. Without
// either only a beep. True when something was removed.
bool EraseRegion(EditorContext& ctx);

// Every element of the current staff at or after the cursor x. True when something was removed.
bool EraseToLineEnd(EditorContext& ctx);

void RegisterEraseCommands(CommandRegistry& registry);

}  // namespace notavera
