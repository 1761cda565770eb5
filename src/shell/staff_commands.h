// Staves added and removed from the menu and the keyboard: "Insérer" > "Portée" waits for a click under the staff
// the new one follows, "Effacer portée" deletes the current staff, the character $ inserts one below the current
// staff.
#pragma once

#include "shell/command_ids.h"

namespace notavera {

class CommandRegistry;
class ScoreDocument;

// The pending action of cmd::InsertStaff, under its own number: the next double click inserts a staff at its
// height.
inline constexpr int insertStaffMouseMode = cmd::InsertStaff;

// The staff under a click at page height y: the last staff whose top line lies at or above y, −1 above the first.
int StaffAboveHeight(ScoreDocument& doc, double y);

void RegisterStaffCommands(CommandRegistry& registry);

}  // namespace notavera
