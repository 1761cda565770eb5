// The constrained mouse drag of the editing tools: the mouse's distance from the last accepted point becomes
// one arrow-key step at a time.
#pragma once

#include "platform/canvas.h"

namespace notavera {

// The arrow-key codes a step is reported as.
inline constexpr int ArrowLeft = 37;
inline constexpr int ArrowUp = 38;
inline constexpr int ArrowRight = 39;
inline constexpr int ArrowDown = 40;

struct StepDragResult {
    int code = 0;      // the arrow key, 0 when no step is taken
    int moved = 0;     // the signed distance the anchor moved (0 when the caller asked for no report)
    Point anchor;      // the anchor after the call
    bool warp = false;  // the mouse cursor goes to the new anchor
};

// With stepX 0 the anchor is reset to the mouse. Otherwise a vertical step is taken when the mouse is at least as
// far vertically as horizontally and at least stepY away, else a horizontal one when it is at least stepX away.
// A step of zero length is never taken (it would repeat forever without the mouse moving).
StepDragResult StepDrag(Point anchor, Point mouse, int stepX, int stepY, bool noReport = false);

}  // namespace notavera
