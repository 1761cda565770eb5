// Points along an arc of an ellipse given as the box it fills and two points whose radials from its centre bound it,
// as the devices draw arcs: the curve renderer fills ties between two such arcs, and the ink finder follows them.
#pragma once

#include <vector>

#include "platform/canvas.h"

namespace notavera {

// Points along the arc of the ellipse in `box`, counter-clockwise from the radial towards start to that towards end
// (clockwise, from end to start, when `reversed`), appended to `out`.
void AppendArcPoints(std::vector<Point>& out, const Box& box, Point start, Point end, bool reversed);

}  // namespace notavera
