// Staves added, removed and exchanged from the menu and the keyboard: "Insérer" > "Portée" waits for a click under
// the staff the new one follows, "Effacer portée" deletes the current staff, the character $ inserts one below the
// current staff, and "Permuter portées courante/marquée" exchanges two staves' music.
#pragma once

#include "shell/command_ids.h"

namespace notavera {

class CommandRegistry;
class ScoreDocument;
struct EditorContext;

// The pending action of cmd::InsertStaff, under its own number: the next double click inserts a staff at its
// height.
inline constexpr int insertStaffMouseMode = cmd::InsertStaff;

// The staff under a click at page height y: the last staff whose top line lies at or above y, −1 above the first.
int StaffAboveHeight(ScoreDocument& doc, double y);

// "Permuter portées courante/marquée": the current staff and the staff of marker Y exchange their music (a beep
// without marker Y on the current page, or with it on the current staff).
void SwapWithMarkedStaff(EditorContext& ctx);

void RegisterStaffCommands(CommandRegistry& registry);

}  // namespace notavera
