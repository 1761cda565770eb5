// Octave lines (8va and 15ma, alta and bassa): the label and the dashed line over or under the notes the octave-line
// commands marked with their code (word1 bits 5–7).
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Every octave line of the staff. A line runs over the elements that carry one code from 1 to 4: it starts at the
// first of them (the label sign the command placed, or the first note) and ends at the last note carrying the code,
// two half spaces beyond it; a note without the code, or a new label, ends it, while rests and other signs pass
// under it. Codes 1 and 2 ("8va", "15ma") go above the staff and the run's highest head, stem or curve, with a hook
// down at the end; codes 3 and 4 ("8vb", "15mb") below, with a hook up. The label is the music font's; the line is
// dashed. A run without a note draws nothing.
void DrawOctaveLines(DrawingContext& dc, const StaffRecord& staff);

}  // namespace notavera
