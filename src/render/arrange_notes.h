// Writes the note drawer's decisions back into a staff, where the tie, beam, spacing and editing rules read them:
// the stem direction of single notes and the order and flags of chord members.
#pragma once

#include <optional>

#include "render/chords.h"

namespace notavera {

class ScoreDocument;

// Writes a chord's layout into the staff: the members in walk order (members that are not drawn first, in their
// order), the stem-member, other-side and stem-up bits, the root's articulation flags on every member, and the
// flags gathered on the root and the stem member: a tie start on the root (on the stem member when it also ends a
// tie), tie ends, beam closings and group ends on the stem member, beam openings and group starts on the root. A
// chord that alone opens and closes a beam group leaves it. Every element of the run stays in the list. Returns the
// run as it stands afterwards (the same indices).
ChordRun ArrangeChord(const DrawingContext& dc, StaffRecord& staff, ChordRun run);

// Arranges every chord of the staff and records the direction the automatic stem of each single note takes.
// Returns the number of chords arranged.
int ArrangeNotes(const DrawingContext& dc, StaffRecord& staff);

// ArrangeNotes on the staves of the document's current page (staff `staff` alone when given), placed as the page pass
// places them, under their clefs. Returns the number of chords arranged.
int ArrangeNotesOfPage(ScoreDocument& doc, std::optional<int> staff = std::nullopt);

}  // namespace notavera
