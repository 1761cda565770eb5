// Drawing one element of a staff (note, rest, chord member or sign) with the music font and the primitives.
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Draws element `index` of `staff`, placed by the pass's staff state dc.staves[staff index], with the staff's
// size, colour and glyph set already in dc.draw.
void DrawElement(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
