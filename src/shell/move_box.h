// The move box (Shift+click, the character #, "Marque-Région"): two clicks size a box on the page; while a region
// is being marked the box becomes the marked zone, otherwise dragging inside it moves the elements of the current
// staff that it encloses.
#pragma once

#include <optional>

#include "platform/canvas.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Starts the box (mouse captured, four arrows), with its first corner when the start was a click.
void StartMoveBox(EditorContext& ctx, std::optional<Point> firstCorner);
// A left press or double click while the box runs: a corner while it is being sized, else the start of a drag.
void MoveBoxPress(EditorContext& ctx, Point at);
// The release ends a drag: the enclosed elements move by its horizontal distance, and the box with them.
void MoveBoxRelease(EditorContext& ctx, Point at);
// Ends the box and releases the mouse; nothing when no box runs.
void EndMoveBox(EditorContext& ctx);

// The keys while the box runs: the arrows move its handle (by the spacing step, Ctrl+Left and Ctrl+Right by one
// page unit, Up and Down by a half-space, PgUp and PgDn by a staff height) and, once the box is sized, drag what
// it encloses along; Enter presses at the handle (first corner, second corner, then the end of the box). Every
// other key does nothing while the box runs, except Escape, which ends it. False when no box runs.
bool SteerMoveBox(EditorContext& ctx, int key);

// Where a handle steered by keys starts: at the cursor, on the middle line of the current staff.
Point HandleAtCursor(EditorContext& ctx);
// How far a key moves such a handle: the spacing step sideways, one page unit with Ctrl, a half-space up or down,
// and with `staffSteps` a staff height for PgUp and PgDn. Nothing for another key.
std::optional<Point> HandleStepOfKey(EditorContext& ctx, int key, bool staffSteps);

void RegisterMoveBoxCharacter(CommandRegistry& registry);

}  // namespace notavera
