// The cursor keys of the main window: arrows, Home, Space and Backspace through MoveCursor, the insertion octave
// keys, and the Ctrl forms that align with the staff above or move signs and staves up and down.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// PgUp (33), PgDn (34) and End (35): the insertion octave steps within −4..3 and steps back from its limits.
void ChangeInsertionOctave(EditorContext& ctx, int key);

// Ctrl+Left (207) and Ctrl+Right (178): onto the element of the staff above (or the zone's last staff) found
// before or after the cursor.
void AlignWithReferenceStaff(EditorContext& ctx, int key);

// Ctrl+Up (181) and Ctrl+Down (182): a sign at the cursor moves vertically, or, with no element at the cursor,
// the staff moves away from or towards the staff above it.
void MoveVertically(EditorContext& ctx, int key);

void RegisterCursorCommands(CommandRegistry& registry);

}  // namespace notavera
