// The special bar of the character E: the bar chosen in "Barres spéciales" (command 359), or the brace or
// straight bracket chosen there, put at the cursor.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The pending action of command 359 once its dialog was accepted: the next double click places the bar there.
inline constexpr int specialBarMouseMode = 69;

// Inserts the chosen special bar at the cursor (after the room of a note standing there, as a bar line) and moves
// the cursor past it. A brace or bracket joins the staff to the last staff of its group, or to the next staff
// when the staff has no group below it; on the page's last staff there is nothing to join and it only beeps.
void InsertSpecialBar(EditorContext& ctx);

void RegisterSpecialBarCharacter(CommandRegistry& registry);

}  // namespace notavera
