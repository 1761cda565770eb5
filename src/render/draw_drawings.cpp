// Recorded drawings and metafile pictures on the page. Points are kept as floats until the canvas takes them,
// so that a drawing replayed elsewhere is the same drawing translated, whatever rounding its origin had.
#include "render/draw_drawings.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/staff_frame.h"

namespace notavera {
namespace {

constexpr Colour white = RgbColour(255, 255, 255);
// "Trait Normal" has no setting of its own: a fifth of a millimetre, between the thin and the medium default.
constexpr int normalWidth = 2;

int WidthOf(const DrawingContext& dc, ShapeWidth width) {
    switch (width) {
    case ShapeWidth::Thin: return dc.thickness.drawingLineThin;
    case ShapeWidth::Medium: return dc.thickness.drawingLineMedium;
    case ShapeWidth::Thick: return dc.thickness.drawingLineThick;
    case ShapeWidth::Normal: break;
    }
    return normalWidth;
}

PenStyle StyleOf(ShapeLine line) {
    switch (line) {
    case ShapeLine::Dashed: return PenStyle::Dash;
    case ShapeLine::Dotted: return PenStyle::Dot;
    case ShapeLine::Continuous: break;
    }
    return PenStyle::Solid;
}

// A cubic Bézier needs 1 + 3n points: a curve of two points is a straight line, and a curve short of a full
// segment repeats its end (the last control point then lies on the end).
std::vector<Point> BezierPoints(std::vector<Point> points) {
    if (points.size() == 2) return {points[0], points[0], points[1], points[1]};
    if (points.size() == 3) {
        // A quadratic through its one control point, raised to a cubic.
        const Point a = points[0], c = points[1], b = points[2];
        const Point c1{a.x + (2 * (c.x - a.x)) / 3, a.y + (2 * (c.y - a.y)) / 3};
        const Point c2{b.x + (2 * (c.x - b.x)) / 3, b.y + (2 * (c.y - b.y)) / 3};
        return {a, c1, c2, b};
    }
    while ((points.size() - 1) % 3 != 0) points.push_back(points.back());
    return points;
}

void DrawShape(DrawingContext& dc, ShapeCode code, const std::vector<Point>& at) {
    Canvas& canvas = *dc.canvas;
    const Pen pen{dc.draw.drawColour, WidthOf(dc, code.width), StyleOf(code.line), PenEnds::Round};
    const Point a = at.front(), b = at.back();
    const Box box{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    switch (static_cast<ShapeKind>(code.kind)) {
    case ShapeKind::Line:
        if (at.size() >= 2) canvas.drawPolyline(at, pen);
        break;
    case ShapeKind::Ellipse: canvas.drawEllipse(box, ShapeStyle{pen, std::nullopt}); break;
    case ShapeKind::FilledEllipse: canvas.drawEllipse(box, ShapeStyle{pen, dc.draw.drawColour}); break;
    case ShapeKind::Rectangle: canvas.drawRect(box, ShapeStyle{pen, std::nullopt}); break;
    case ShapeKind::FilledRectangle: canvas.drawRect(box, ShapeStyle{pen, dc.draw.drawColour}); break;
    case ShapeKind::EraseBox: canvas.drawRect(box, ShapeStyle{std::nullopt, white}); break;
    case ShapeKind::Polygon:
        if (at.size() >= 2) canvas.drawPolygon(at, ShapeStyle{pen, std::nullopt, FillRule::Winding});
        break;
    case ShapeKind::FilledPolygon:
        if (at.size() >= 2) canvas.drawPolygon(at, ShapeStyle{pen, dc.draw.drawColour, FillRule::Winding});
        break;
    case ShapeKind::Bezier:
        if (at.size() >= 2) canvas.drawBezier(BezierPoints(at), pen);
        break;
    }
}

}  // namespace

std::optional<Point> DrawingElementOrigin(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e) {
    const std::optional<StaffFrame> frame = FrameOfElement(dc, staff, e);
    if (!frame) return std::nullopt;
    const int eighth = dc.metrics.eighthSpace[frame->small ? 1 : 0];
    return Point{e.x, frame->reference + e.param * eighth};
}

void ReplayRecording(DrawingContext& dc, const DrawingRecording& recording, double x, double y, Colour colour) {
    if (dc.canvas == nullptr) return;
    dc.canvas->note({.op = "drawing", .x1 = static_cast<int>(std::lround(std::clamp(x, -1e6, 1e6))),
                     .y1 = static_cast<int>(std::lround(std::clamp(y, -1e6, 1e6))),
                     .width = static_cast<int>(recording.shapes.size()), .colour = colour});
    const Colour saved = dc.draw.drawColour;
    dc.draw.drawColour = colour;
    // Every point's page position, walked once from the origin.
    std::vector<std::pair<double, double>> positions;
    positions.reserve(recording.points.size());
    for (const PointStep& p : recording.points) {
        x += p.dx;
        y += p.dy;
        positions.emplace_back(x, y);
    }
    // A drawing wandering off the page stays within reach of the device's coordinates at any zoom.
    const double farthest = 1e6;
    const auto device = [&dc, farthest](double v) { return dc.toDevice(static_cast<int>(std::lround(std::clamp(v, -farthest, farthest)))); };
    for (const RecordedShape& s : recording.shapes) {
        if (s.first > s.last || s.last >= positions.size()) continue;
        std::vector<Point> at;
        for (std::size_t i = s.first; i <= s.last; ++i) at.push_back({device(positions[i].first), device(positions[i].second)});
        DrawShape(dc, ShapeCode::Decode(s.code), at);
    }
    dc.draw.drawColour = saved;
}

Box PictureBox(Point origin, const PictureHead& head) {
    const int width = std::clamp(head.xExtent, 0, 100000), height = std::clamp(head.yExtent, 0, 100000);
    return {origin.x, origin.y - height, origin.x + width, origin.y};
}

void PlayPicture(DrawingContext& dc, Box box, std::span<const std::uint8_t> metafile) {
    if (dc.canvas == nullptr) return;
    dc.canvas->note({.op = "picture", .x1 = box.left, .y1 = box.bottom, .x2 = box.right, .y2 = box.top});
    if (dc.metafiles == nullptr || box.left == box.right || box.bottom == box.top) return;
    const Box device{dc.toDevice(box.left), dc.toDevice(box.bottom), dc.toDevice(box.right), dc.toDevice(box.top)};
    dc.metafiles->play(*dc.canvas, device, metafile);
}

void DrawDrawingSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.hasBlob()) return;
    const std::optional<Point> origin = DrawingElementOrigin(dc, staff, e);
    if (!origin) return;
    if (e.isSignOfType(SignType::Drawing)) {
        if (const std::optional<DrawingRecording> r = DecodeRecording(e.blob.payload()))
            ReplayRecording(dc, *r, origin->x, origin->y, dc.draw.drawColour);
    } else if (e.isSignOfType(SignType::Picture)) {
        if (const std::optional<PictureBlob> p = DecodePicture(e.blob.payload()))
            PlayPicture(dc, PictureBox(*origin, p->head), p->metafile);
    }
}

}  // namespace notavera
