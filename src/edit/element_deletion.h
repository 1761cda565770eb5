// The Delete and Insert keys: deleting the element at the cursor with its refusals, and the insertion box that
// opens a gap at the cursor for notes to go in.
#pragma once

namespace notavera {

struct EditorContext;

// Deletes the current element: a sign always, a note or rest only outside ties in progress and tuplets. A
// refusal shows its message and changes nothing.
void DeleteAtCursor(EditorContext& ctx);

// Opens or closes the insertion box. Refused with message 20 while a slur, a beam group or an L context is open.
void ToggleInsertionBox(EditorContext& ctx);

}  // namespace notavera
