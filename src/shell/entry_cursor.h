// Where note entry acts: the element at the cursor, the right end of the line, and the cursor's moves after an
// element was entered (past a note, a bar, a clef) or when a line is full (onto the voice's next line).
#pragma once

#include "score/records.h"

namespace notavera {

struct EditorContext;

// The current element when it stands at the cursor x; null otherwise.
ElementRecord* ElementAtCursor(EditorContext& ctx);
// The note or rest at the cursor (no sign); null otherwise.
ElementRecord* NoteOrRestAtCursor(EditorContext& ctx);

// The last note or rest at or before the cursor x on the current staff (the last member of a chord there), where
// a slur or group typed after its notes ends; −1 when there is none. With `notesOnly` rests are passed over.
int LastNoteAtOrBeforeCursor(EditorContext& ctx, bool notesOnly);

// The x the music of the current staff may not reach: its left edge plus the page's line length.
int LineRightLimit(EditorContext& ctx);

// Puts the cursor on the first column of the same staff of the voice's next line (appending a page after the
// last). False, with nothing changed, when there is no such line.
bool MoveToNextLine(EditorContext& ctx);

// After a new note or rest became the current element: the cursor moves past it by its spacing (a chord note,
// marked with the C attribute, keeps the cursor for the next note of the chord). In an open insertion box the
// music after the cursor moves right so the gap stays open.
void AdvancePastNote(EditorContext& ctx);

// After a new sign became the current element: the cursor goes to the next element, or `distance` further
// when the sign is the last element of the staff.
void AdvancePastSign(EditorContext& ctx, int distance);

// Moves every element of the current staff after index `from` by dx.
void ShiftElementsAfter(EditorContext& ctx, int from, int dx);

}  // namespace notavera
