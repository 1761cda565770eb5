// The drawer of notes and rests: element `elementIndex` of a staff, on the staff the pass placed it on.
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Draws a note or rest of `staff` (kind 0), with everything that belongs to it:
//  - a hidden element only while hidden elements are shown;
//  - at cue size with the cue flag, and on the staff above or below for the cross-staff placements;
//  - a rest with its dots; a single note with its ledger lines, head, stem and flags, accidental, dots and
//    articulation; a chord member as part of its chord, drawn whole when its last drawn member is met;
//  - notes of a beam group from the eighth on without stems and flags, which the beam drawer adds when the group's
//    closing note is met.
// Nothing is drawn for a sign, an index outside the staff, or a staff the pass has not placed.
void DrawNoteOrRest(DrawingContext& dc, const StaffRecord& staff, int elementIndex);

}  // namespace notavera
