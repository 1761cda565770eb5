// Sampling an arc of an ellipse.
#include "render/ellipse_arc.h"

#include <cmath>
#include <numbers>

namespace notavera {
namespace {

// Where the radial from the box's centre towards p meets the ellipse, as the ellipse's parametric angle.
double ParametricAngle(const Box& b, Point p) {
    const double cx = (b.left + b.right) / 2.0, cy = (b.bottom + b.top) / 2.0;
    return std::atan2((p.y - cy) * std::abs(b.right - b.left), (p.x - cx) * std::abs(b.top - b.bottom));
}

}  // namespace

void AppendArcPoints(std::vector<Point>& out, const Box& box, Point start, Point end, bool reversed) {
    constexpr int Samples = 40;
    const double from = ParametricAngle(box, start);
    double sweep = ParametricAngle(box, end) - from;
    while (sweep <= 0) sweep += 2 * std::numbers::pi;
    const double cx = (box.left + box.right) / 2.0, cy = (box.bottom + box.top) / 2.0;
    const double a = std::abs(box.right - box.left) / 2.0, b = std::abs(box.top - box.bottom) / 2.0;
    for (int i = 0; i <= Samples; ++i) {
        const double t = from + sweep * (reversed ? Samples - i : i) / Samples;
        out.push_back({static_cast<int>(std::lround(cx + a * std::cos(t))),
                       static_cast<int>(std::lround(cy + b * std::sin(t)))});
    }
}

}  // namespace notavera
