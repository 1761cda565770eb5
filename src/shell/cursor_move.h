// MoveCursor: the one operation that moves the cursor from element to element and from staff to staff, keeps it
// within the line and makes the view follow.
#pragma once

namespace notavera {

struct EditorContext;

// The move codes: the keys' own numbers, and the snap code that the click and every re-placing after an edit use.
enum MoveCode : int {
    MoveBackspace = 8, MoveSpace = 32, MoveHome = 36, MoveLeft = 37, MoveUp = 38, MoveRight = 39, MoveDown = 40,
    MoveSnap = 513,
};

// Moves the cursor of the context (ctx.shell.cursor.x/y, the document's current staff and element) by the code.
// Any other code only re-places the cursor on its staff.
void MoveCursor(EditorContext& ctx, int code);

}  // namespace notavera
