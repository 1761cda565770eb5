// The cursor of note entry: the element at the cursor, the cursor's moves after an element was entered (past a
// note, a bar, a clef) or when a line is full (onto the voice's next line), and the insertion box that opens a gap
// at the cursor for notes to go in.
#pragma once

#include "score/score_document.h"

namespace notavera {

struct EditorContext;

// The current element when it stands at the cursor x; null otherwise.
ElementRecord* ElementAtCursor(EditorContext& ctx);
// The note or rest at the cursor (no sign); null otherwise.
ElementRecord* NoteOrRestAtCursor(EditorContext& ctx);

// The last note or rest at or before the cursor x on the current staff; −1 when there is none. With `notesOnly`
// rests are passed over.
int LastNoteAtOrBeforeCursor(EditorContext& ctx, bool notesOnly);

// Puts the cursor on the first column of the same staff of the voice's next line (appending a page after the
// last). False, with nothing changed, when there is no such line.
bool MoveToNextLine(EditorContext& ctx);

// After a new note or rest became the current element: the cursor moves past it by its spacing (a chord note,
// marked with the C attribute, keeps the cursor for the next note of the chord). In an open insertion box the
// music after the cursor moves right so the gap stays open.
void AdvancePastNote(EditorContext& ctx);

// Where the cursor stands when a document or page is shown: on the current element, or past it when it ends the
// staff, so that typing goes on after the music.
int EntryCursorX(ScoreDocument& doc);

// After a new sign became the current element: the cursor goes to the next element, or `distance` further
// when the sign is the last element of the staff.
void AdvancePastSign(EditorContext& ctx, int distance);

// Opens or closes the insertion box. Refused with message 20 while a slur, a beam group or an L context is open.
void ToggleInsertionBox(EditorContext& ctx);

}  // namespace notavera
