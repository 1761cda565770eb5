// Where note entry acts on the current staff, given the x entry works at: the element standing there, the last
// note at or before it, the x the line may not pass, and the music that moves to open or close a gap.
#pragma once

#include "score/score_document.h"

namespace notavera {

// The current element when it stands at x; null otherwise.
ElementRecord* ElementAtX(ScoreDocument& doc, int x);
// The note or rest (no sign) that is the current element and stands at x; null otherwise.
ElementRecord* NoteOrRestAtX(ScoreDocument& doc, int x);

// The last element of the staff at or before x, −1 when there is none.
int LastElementAtOrBefore(const StaffRecord& staff, int x);

// Before an element is made at x: a new element goes in beside the current one, so the current element must be
// a neighbour of x for the staff to stay in left-to-right order. When it is not (the cursor moved on past other
// elements), the last element at or before x (else the first) becomes current.
void MakeNeighbourOfXCurrent(ScoreDocument& doc, int x);

// The last note or rest at or before x on the current staff (the last member of a chord there), where a slur or
// group typed after its notes ends; −1 when there is none. With `notesOnly` rests are passed over.
int LastNoteAtOrBeforeX(ScoreDocument& doc, int x, bool notesOnly);

// The x the music of the current staff may not reach: its left edge plus the page's line length.
int LineRightLimit(ScoreDocument& doc);

// Moves every element of the current staff after index `from` by dx.
void ShiftElementsAfter(ScoreDocument& doc, int from, int dx);

}  // namespace notavera
