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

void RegisterMoveBoxCharacter(CommandRegistry& registry);

}  // namespace notavera
