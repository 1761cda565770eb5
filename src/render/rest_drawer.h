// Rests of every value and multi-bar rests: glyphs from the quarter rest on, blocks and strokes for the longer ones.
#pragma once

#include "render/element_placement.h"

namespace notavera {

// Rest e on `place`, with its dots. The rest's height (its step and octave) is the line the half rest stands on;
// the whole rest hangs from the line above it, and the glyph rests are centred on the half rest's line.
void DrawRest(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e);

}  // namespace notavera
