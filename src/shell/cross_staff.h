// The cross-staff placement: the current staff shown at the place of the staff above or below while notes meant
// for that place are entered, and the Ctrl+PgUp, Ctrl+PgDn and Ctrl+Home keys (and the palette's two placement
// buttons) that ask for it.
#pragma once

namespace notavera {

class CommandRegistry;
class ScoreDocument;
struct EditorContext;

// The placements: at its own place, at the place of the staff above, of the staff below; and the code that
// only forgets which staff was moved.
enum StaffPlacement : int { PlaceOwn = 0, PlaceAbove = 1, PlaceBelow = 2, PlaceForget = 10 };

// The placement in force: the one new notes carry in word0 bits 14–15.
int PlacementInForce(const ScoreDocument& doc);

// Moves the current staff to the placement's place (a staff moved before returns to its own place first) and
// makes the placement the one in force. PlaceForget, or no current staff, forgets the moved staff.
void PlaceStaff(EditorContext& ctx, int placement);

// The index of the staff whose place the current staff takes: its own index unless it is the moved staff.
int PlacedStaffIndex(const EditorContext& ctx);

// What the keys ask: placement 1 is refused on the page's first staff, 2 on its last, and either while another
// placement than 0 is in force (the palette's navigation state then returns to 0). Otherwise the notes and
// rests of a shown zone, or with the alternate action the note at the cursor, take the placement, and the
// staff moves.
void AskPlacement(EditorContext& ctx, int placement);

void RegisterCrossStaffCommands(CommandRegistry& registry);

}  // namespace notavera
