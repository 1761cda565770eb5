// Moving the element at the cursor step by step, as the keys do: sideways along the staff, and up or down by
// staff positions (notes, rests and signs placed on a pitch) or by vertical offset (texts, drawings, curves).
#pragma once

#include "score/score_document.h"

namespace notavera {

// The current element moves by dx page units (never before x 0); a chord moves with all its members. The staff
// stays in left-to-right order and the moved element stays current. False when nothing moved.
bool MoveElementAcross(ScoreDocument& doc, int dx);
// Whether MoveElementAcross would move something.
bool ElementCanMoveAcross(ScoreDocument& doc, int dx);

// The current element moves `steps` staff positions up (positive) or down: a note or rest, or a sign placed on a
// pitch, changes its name and octave (within octaves 0..7). A sign with a vertical offset moves it by `offsetStep`
// per step instead. A note whose accidental came from its key or bar takes the one of its new name. False when the
// element cannot move that way (bars, clefs, signatures, the end of the range).
bool MoveElementUpDown(ScoreDocument& doc, int steps, int offsetStep);
// Whether MoveElementUpDown would move something.
bool ElementCanMoveUpDown(ScoreDocument& doc, int steps, int offsetStep);

}  // namespace notavera
