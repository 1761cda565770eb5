// Staves added to and removed from the current page (commands 497 and 498, the character $): the page and the
// staff-layout template change together, within the page's limit of staves.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The pending action of command 497: the next double click inserts a staff at its height.
inline constexpr int insertStaffMouseMode = 497;

// Inserts an empty staff after staff `above` of the current page, like it; the staves below move down by one
// staff distance. `above` −1 (a click above the first staff) is refused with message 73, a full page with 56.
// Returns true when the staff was inserted.
bool InsertStaffBelow(EditorContext& ctx, int above);

// The staff under a click at page height y: the last staff whose top line lies at or above y, −1 above the first.
int StaffAboveHeight(EditorContext& ctx, double y);

// Deletes the current staff; refused with message 74 while it holds elements.
bool DeleteCurrentStaff(EditorContext& ctx);

void RegisterStaffCommands(CommandRegistry& registry);

}  // namespace notavera
