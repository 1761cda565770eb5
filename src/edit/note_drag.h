// A selected note changed by the steps of a mouse drag: sideways steps change its value, vertical steps walk its
// accidental along the ring from quarter-tone flat to quarter-tone sharp.
#pragma once

#include "score/record_fields.h"

namespace notavera {

class ScoreDocument;

// The accidental one step up (towards the quarter-tone sharp) or down the ring; past either end there is none,
// and from none up is the sharp and down the flat.
Accidental RingStep(Accidental a, bool up);

// Note `index` of the current staff one value shorter (code + 1, at most 10) or longer (code − 1, at least 0); a
// beamed note stays an eighth or shorter. The insertion duration follows. A note marked with note-word bit 18
// keeps its value. False when nothing changed.
bool DragNoteValue(ScoreDocument& doc, int index, bool shorter);

// Note `index` of the current staff takes the next accidental of the ring, shown; the forced accidental of the
// insertion attributes is used up. A note marked with bit 18 that ends the staff keeps its accidental. False
// when nothing changed.
bool DragNoteAccidental(ScoreDocument& doc, int index, bool up);

}  // namespace notavera
