// Staves added and removed from the menu and the keyboard: 497 "Insérer portée" waits for a click under the staff
// the new one follows, 498 deletes the current staff, the character $ inserts one below the current staff.
#pragma once

namespace notavera {

class CommandRegistry;
class ScoreDocument;

// The pending action of command 497: the next double click inserts a staff at its height.
inline constexpr int insertStaffMouseMode = 497;

// The staff under a click at page height y: the last staff whose top line lies at or above y, −1 above the first.
int StaffAboveHeight(ScoreDocument& doc, double y);

void RegisterStaffCommands(CommandRegistry& registry);

}  // namespace notavera
