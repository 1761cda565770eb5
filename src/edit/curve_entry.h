// The manipulable curve: a curve sign put at an x with a default arc over the staff, whose four control points
// the curve editing then moves.
#pragma once

#include "score/score_document.h"

namespace notavera {

// Puts a manipulable curve (sign type 8) at x on the current staff: a gentle arc one staff space above the staff,
// eight staff spaces wide, its control points in its blob, for a staff of that space and height. The curve becomes
// the current element; null when none was made.
ElementRecord* InsertManipulableCurve(ScoreDocument& doc, int x, int staffSpace, int staffHeight);

}  // namespace notavera
