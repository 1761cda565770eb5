// One step of the constrained drag.
#include "render/step_drag.h"

#include <cstdlib>

namespace notavera {

StepDragResult StepDrag(Point anchor, Point mouse, int stepX, int stepY, bool noReport) {
    StepDragResult r;
    r.anchor = anchor;
    if (stepX == 0) {
        r.anchor = mouse;
        return r;
    }
    const int dx = mouse.x - anchor.x, dy = mouse.y - anchor.y;
    const int sx = std::abs(stepX), sy = std::abs(stepY);
    if (std::abs(dx) <= std::abs(dy) && sy > 0 && std::abs(dy) >= sy) {
        const int move = dy >= 1 ? sy : -sy;
        r.anchor.y += move;
        r.code = dy >= 1 ? ArrowUp : ArrowDown;
        r.moved = noReport ? 0 : move;
    } else if (std::abs(dx) >= sx) {
        const int move = dx >= 1 ? sx : -sx;
        r.anchor.x += move;
        r.code = dx >= 1 ? ArrowRight : ArrowLeft;
        r.moved = noReport ? 0 : move;
    }
    r.warp = r.code != 0;
    return r;
}

}  // namespace notavera
