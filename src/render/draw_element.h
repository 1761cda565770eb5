// Drawing one element of a staff: the dispatcher the page pass calls for every element, and the drawing state a
// staff sets before its elements are drawn.
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// The staff's size (from its place `index` among the placed staves, dc.staves), old-notation glyphs and colour
// (grey staves draw grey) for the elements that follow, at full size and with a plain line. While erasing, the
// erasing colour is kept.
void BeginStaff(DrawingContext& dc, const StaffRecord& staff, int index);

// Element `index` of the staff: notes and rests by the note drawer, signs by the sign drawer. A cue-size element is
// drawn with the cue font and metrics; a hidden one only while hidden elements are shown, though a hidden clef still
// enters the staff's clef state.
void DrawElement(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
