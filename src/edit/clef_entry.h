// A clef put at an x of the current staff, replacing the clef that is the current element there.
#pragma once

#include "score/score_document.h"

namespace notavera {

// Inserts clef number `clef` (1..12) at x on the current staff, on the staff line that clef sits on. Returns the
// new clef, which is the current element; null when none was made (no staff, a clef number out of range, or a
// staff moved to its neighbour's place, where the clef would land on the wrong staff).
ElementRecord* InsertClef(ScoreDocument& doc, int x, int clef);

}  // namespace notavera
