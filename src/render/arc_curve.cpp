// The shape of a tie or slur as two arcs of ellipses, and its drawing with pens on every device.
#include "render/arc_curve.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "render/ellipse_arc.h"

namespace notavera {
namespace {

constexpr double MaxSlope = 0.9;

int Round(double v) { return static_cast<int>(std::lround(v)); }

// The stored thickness settings span −4 (thickest) to 8 (thinnest); a damaged file gives nothing outside.
int ThicknessDivisor(int k) { return std::clamp(k, -4, 8) + 5; }

// How much of the sideways shift of the inner arc a setting keeps: thin curves shift less.
double ShiftDivisor(int k) {
    switch (std::clamp(k, -2, 2)) {
    case 2: return 3.0;
    case 1: return 2.5;
    case 0: return 2.0;
    case -1: return 1.6;
    default: return 1.2;
    }
}

// Steep curves get little or no flattening of their inner arc, or none at all, lest it cross the outer one.
double FlatteningShare(double slope) {
    if (slope >= 0.92) return 0.2;
    if (slope >= 0.8) return 0.0;
    if (slope >= 0.78) return 0.2;
    if (slope >= 0.75) return 0.4;
    if (slope >= 0.7) return 0.6;
    if (slope >= 0.6) return 0.8;
    return 1.0;
}

struct Ends {
    double x1, y1, x2, y2;
};

// A slur that must clear a peak lifts its end on the peak's side (the lower end of a curve above) towards it, by as
// much of their height difference as the peak lies away from the middle.
void MoveEndTowardsPeak(Ends& e, const ArcCurve& c, double h, int step) {
    const double p = std::clamp((c.peakX - (e.x1 + h)) / h, -1.0, 1.0);
    const bool first = c.above ? e.y1 <= e.y2 : e.y1 >= e.y2;
    double& y = first ? e.y1 : e.y2;
    double& x = first ? e.x1 : e.x2;
    const double peak = *c.peak;
    const double lift = std::abs((peak - y) * p);
    y += peak >= y ? lift : -lift;
    if (std::abs(c.peakX - x) <= 4.0 * step) x += first ? step : -step;
}

double ArcHeight(const StaffMetrics& m, int size, bool hasPeak, double w, double slope, bool level) {
    const double space = m.staffSpace[size];
    if (!hasPeak && w <= 9.0 * m.stepUnit) return level ? 3.0 * m.halfSpace[size] : space;
    return w < 300 || slope >= 0.3 ? 2 * space : 3 * space;
}

ArcBox InnerBox(const ArcBox& outer, const Ends& e, double slope, bool hasPeak, int k, int space) {
    const double t = std::max(space / ThicknessDivisor(k), 2);
    ArcBox inner = outer;
    if (e.y1 == e.y2) {
        // A level curve's inner arc is wider than its outer one: both meet at a point at the ends.
        inner.left -= 2 * t / 3;
        inner.right += 2 * t / 3;
    }
    const double flatten = FlatteningShare(slope) * t;
    const double inwards = slope >= 0.89 ? -flatten : flatten;
    inner.top -= inwards;
    inner.bottom += inwards;
    const double lo = std::min(e.y1, e.y2), hi = std::max(e.y1, e.y2);
    // However far apart the ends stand (a slur from one staff to the next), the curve stays a curve of about its
    // thickness, not a filled wedge.
    double d = std::min(std::max(t / 2, (hi - lo) * std::max(slope, 0.2)) / ShiftDivisor(k), 2 * t);
    if (hasPeak) d /= 2;
    if (e.y1 != e.y2) {
        const double towardsHigher = e.y2 > e.y1 ? d : -d;
        inner.left += towardsHigher;
        inner.right += towardsHigher;
    }
    return inner;
}

Box DeviceBox(const DrawingContext& dc, const ArcBox& b) {
    return {dc.toDevice(Round(b.left)), dc.toDevice(Round(b.bottom)), dc.toDevice(Round(b.right)),
            dc.toDevice(Round(b.top))};
}

Point DevicePoint(const DrawingContext& dc, Point p) { return {dc.toDevice(p.x), dc.toDevice(p.y)}; }

Box Offset(Box b, int dy) { return {b.left, b.bottom + dy, b.right, b.top + dy}; }

// The crescent between the outer and the inner arc, filled with arcs whose boxes step from one to the other.
void FillCrescent(DrawingContext& dc, Box outer, Box inner, Point start, Point end, const Pen& pen) {
    const int n = std::max({std::abs(inner.top - outer.top), std::abs(inner.left - outer.left),
                            std::abs(inner.right - outer.right), 1});
    Box previous = outer;
    for (int i = 1; i < n; ++i) {
        const double f = static_cast<double>(i) / n;
        const auto step = [f](int a, int b) { return a + Round((b - a) * f); };
        const Box box{step(outer.left, inner.left), step(outer.bottom, inner.bottom), step(outer.right, inner.right),
                      step(outer.top, inner.top)};
        if (box == previous) continue;
        dc.canvas->drawArc(box, start, end, pen);
        previous = box;
    }
}

// Pictures (PNG, SVG, PDF) fill the crescent as one shape: stepped arcs would leave hairlines between them at their
// resolutions.
void FillCrescentShape(DrawingContext& dc, Box outer, Box inner, Point start, Point end, const Pen& pen) {
    std::vector<Point> outline;
    AppendArcPoints(outline, outer, start, end, false);
    AppendArcPoints(outline, inner, start, end, true);
    dc.canvas->drawPolygon(outline, ShapeStyle{pen, pen.colour});
}

// A dashed or dotted curve: one thin styled arc, thickened by copies a pixel apart, outwards, up to the width of a
// bar line (the metafile keeps the single arc, as its readers draw styled lines themselves).
void DrawStyledArc(DrawingContext& dc, Box box, Point start, Point end, int style, bool above) {
    const Pen pen{dc.draw.drawColour, 0, PenStyleFromStored(static_cast<unsigned>(style)), PenEnds::Round};
    const double pixel = dc.canvas->pixelHeight();
    const int copies = dc.inMetafilePass() ? 1 : std::max(1, Round(dc.toDevice(dc.thickness.barLine) / pixel));
    for (int k = 0; k < copies; ++k) {
        const int dy = Round(k * pixel) * (above ? 1 : -1);
        dc.canvas->drawArc(Offset(box, dy), {start.x, start.y + dy}, {end.x, end.y + dy}, pen);
    }
}

}  // namespace

bool PaintsPictures(const DrawingContext& dc) {
    if (dc.canvas == nullptr || dc.printing || dc.inMetafilePass()) return false;
    const CanvasKind kind = dc.canvas->kind();
    return kind == CanvasKind::Image || kind == CanvasKind::Svg || kind == CanvasKind::Pdf;
}

bool FillsCrescents(const DrawingContext& dc) {
    if (dc.canvas == nullptr) return false;
    if (dc.printing || dc.inMetafilePass()) return true;
    switch (dc.canvas->kind()) {
    case CanvasKind::Printer:
    case CanvasKind::Metafile:
    case CanvasKind::Image:
    case CanvasKind::Svg:
    case CanvasKind::Pdf: return true;
    default: return false;
    }
}

std::optional<ArcShape> ShapeArcCurve(const DrawingContext& dc, const ArcCurve& c, int thickness) {
    const StaffMetrics& m = dc.metrics;
    const int size = dc.sizeIndex();
    Ends e{static_cast<double>(c.x1), static_cast<double>(c.y1), static_cast<double>(c.x2),
           static_cast<double>(c.y2)};
    if (e.x1 > e.x2) {
        std::swap(e.x1, e.x2);
        std::swap(e.y1, e.y2);
    }
    const double w = e.x2 - e.x1;
    if (w <= m.stepUnit) return std::nullopt;
    const double h = w / 2;
    if (c.peak) MoveEndTowardsPeak(e, c, h, m.stepUnit);

    ArcShape shape;
    const double lo = std::min(e.y1, e.y2), hi = std::max(e.y1, e.y2);
    double dy = hi - lo;
    shape.slope = std::min(dy / w, MaxSlope);
    shape.height = ArcHeight(m, size, c.peak.has_value(), w, shape.slope, e.y1 == e.y2);
    // The ellipse is wider than the curve by its slope, and sits towards the higher end so that the curve rises from
    // the lower end and turns just before the higher one.
    const double hw = h * (1 + shape.slope);
    const bool towardsSecond = c.above ? e.y2 > e.y1 : e.y2 < e.y1;
    const double cx = towardsSecond ? e.x1 + hw : e.x2 - hw;
    const double space = m.staffSpace[size];
    const double cy = c.above ? lo - space : hi + space;
    if (c.peak) dy += c.above ? std::max(*c.peak - hi, 0.0) : std::max(lo - *c.peak, 0.0);
    dy += shape.height;
    shape.outer = {cx - hw, cy - dy, cx + hw, cy + dy};

    // Arcs run counter-clockwise: over the top from the right end, under the bottom from the left end.
    shape.start = {Round(e.x1), Round(e.y1)};
    shape.end = {Round(e.x2), Round(e.y2)};
    if (c.above) std::swap(shape.start, shape.end);
    if (c.style == 0)
        shape.inner = InnerBox(shape.outer, e, shape.slope, c.peak.has_value(), thickness, m.staffSpace[size]);
    return shape;
}

void DrawArcCurve(DrawingContext& dc, const ArcCurve& curve, int thickness) {
    if (dc.canvas == nullptr) return;
    const auto shape = ShapeArcCurve(dc, curve, thickness);
    if (!shape) return;
    const Box outer = DeviceBox(dc, shape->outer);
    Point start = DevicePoint(dc, shape->start), end = DevicePoint(dc, shape->end);
    // Some metafile readers turn arcs the other way; "Inverser arcs" writes them for those.
    if (dc.curves.invertArcs && dc.inMetafilePass()) std::swap(start, end);
    if (!shape->inner) {
        DrawStyledArc(dc, outer, start, end, curve.style, curve.above);
        return;
    }
    const Pen pen{dc.draw.drawColour, dc.curves.tiePenWidth, PenStyle::Solid, PenEnds::Round};
    const Box inner = DeviceBox(dc, *shape->inner);
    dc.canvas->drawArc(outer, start, end, pen);
    dc.canvas->drawArc(inner, start, end, pen);
    if (!FillsCrescents(dc)) return;
    if (PaintsPictures(dc)) FillCrescentShape(dc, outer, inner, start, end, pen);
    else FillCrescent(dc, outer, inner, start, end, pen);
}

}  // namespace notavera
