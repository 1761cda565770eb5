// Manipulable curves, free ties, hairpins and brackets from the control points of their blobs.
#include "render/curve_signs.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/arc_curve.h"
#include "render/element_placement.h"

namespace notavera {
namespace {

constexpr int BezierSamples = 32;

int Round(double v) { return static_cast<int>(std::lround(v)); }

std::int32_t ReadI32(std::span<const std::uint8_t> b, std::size_t at) {
    const std::uint32_t v = static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
                            static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
    return static_cast<std::int32_t>(v);
}

void WriteI32(std::array<std::uint8_t, CurveBlobSize>& b, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t k = 0; k < 4; ++k) b[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
}

// A stroke width the music font recommends, in staff spaces, as page units; the fallback for fonts that lack it.
int FontStrokeWidth(const DrawingContext& dc, std::string_view name, double fallback, int space) {
    double spaces = fallback;
    if (dc.musicFont != nullptr) spaces = dc.musicFont->metadata().engravingDefault(name).value_or(fallback);
    return std::max(1, Round(spaces * space));
}

Point ToDevicePoint(const DrawingContext& dc, Point p) { return {dc.toDevice(p.x), dc.toDevice(p.y)}; }

Point BezierAt(const CurvePoints& p, double t) {
    const double u = 1 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    return {Round(a * p[0].x + b * p[1].x + c * p[2].x + d * p[3].x),
            Round(a * p[0].y + b * p[1].y + c * p[2].y + d * p[3].y)};
}

void AppendBezier(std::vector<Point>& out, const CurvePoints& p, bool reversed) {
    for (int i = 0; i <= BezierSamples; ++i) {
        const double t = static_cast<double>(reversed ? BezierSamples - i : i) / BezierSamples;
        out.push_back(BezierAt(p, t));
    }
}

// The inner edge of a thick curve: its two middle control points moved towards the line between its ends, so far
// that the curve's middle comes `t` nearer (a Bézier's middle moves by three quarters of its control points).
CurvePoints InnerCurve(const CurvePoints& p, double t) {
    const double dx = p[3].x - p[0].x, dy = p[3].y - p[0].y;
    const double length = std::hypot(dx, dy);
    if (length == 0) return p;
    double nx = -dy / length, ny = dx / length;
    const double bulge = ((p[1].x + p[2].x) / 2.0 - p[0].x) * nx + ((p[1].y + p[2].y) / 2.0 - p[0].y) * ny;
    if (bulge > 0) {
        nx = -nx;
        ny = -ny;
    }
    const double move = 4 * t / 3;
    CurvePoints inner = p;
    for (std::size_t k : {1u, 2u}) inner[k] = {Round(p[k].x + nx * move), Round(p[k].y + ny * move)};
    return inner;
}

void DrawManipulableCurve(DrawingContext& dc, const CurvePoints& page, int space, int style) {
    CurvePoints device;
    std::transform(page.begin(), page.end(), device.begin(), [&](Point q) { return ToDevicePoint(dc, q); });
    if (style != 0) {
        const Pen pen{dc.draw.drawColour, 0, PenStyleFromStored(static_cast<unsigned>(style)), PenEnds::Round};
        dc.canvas->drawBezier(device, pen);
        return;
    }
    const int t = std::max(space / (std::clamp(dc.curves.curveThickness, -3, 8) + 5), 2);
    const CurvePoints inner = InnerCurve(device, dc.toDevice(t));
    const Pen pen{dc.draw.drawColour, dc.curves.tiePenWidth, PenStyle::Solid, PenEnds::Round};
    if (!FillsCrescents(dc)) {
        dc.canvas->drawBezier(device, pen);
        dc.canvas->drawBezier(inner, pen);
        return;
    }
    std::vector<Point> outline;
    AppendBezier(outline, device, false);
    AppendBezier(outline, inner, true);
    dc.canvas->drawPolygon(outline, ShapeStyle{pen, pen.colour});
}

void DrawOpenLine(DrawingContext& dc, std::span<const Point> page, int width, int style) {
    std::vector<Point> device;
    for (Point q : page) device.push_back(ToDevicePoint(dc, q));
    const Pen pen = style != 0
                        ? Pen{dc.draw.drawColour, 0, PenStyleFromStored(static_cast<unsigned>(style)), PenEnds::Flat}
                        : Pen{dc.draw.drawColour, width, PenStyle::Solid, PenEnds::Flat};
    dc.canvas->drawPolyline(device, pen);
}

bool OutsideExport(const DrawingContext& dc, const CurvePoints& p) {
    if (!dc.inMetafilePass()) return false;
    return std::none_of(p.begin(), p.end(), [&](Point q) { return dc.exportRegion.containsX(q.x); });
}

}  // namespace

std::array<std::uint8_t, CurveBlobSize> EncodeCurvePoints(const CurvePoints& points) {
    std::array<std::uint8_t, CurveBlobSize> bytes{};
    for (std::size_t k = 0; k < points.size(); ++k) {
        WriteI32(bytes, 8 * k, points[k].x);
        WriteI32(bytes, 8 * k + 4, points[k].y);
    }
    return bytes;
}

std::optional<CurvePoints> DecodeCurvePoints(std::span<const std::uint8_t> payload) {
    if (payload.size() < CurveBlobSize) return std::nullopt;
    CurvePoints points;
    for (std::size_t k = 0; k < points.size(); ++k) points[k] = {ReadI32(payload, 8 * k), ReadI32(payload, 8 * k + 4)};
    return points;
}

void DrawCurveSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (dc.canvas == nullptr || index < 0 || index >= static_cast<int>(staff.elements.size())) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.isSign() || !e.hasBlob()) return;
    const auto relative = DecodeCurvePoints(e.blob.payload());
    const auto place = PlaceOfElement(dc, staff, e);
    if (!relative || !place) return;
    // Points far outside any page (a damaged blob) are kept within reach of it rather than overflowing.
    constexpr int Reach = 1 << 20;
    CurvePoints p;
    for (std::size_t k = 0; k < p.size(); ++k) {
        p[k] = {e.x + e.shift + std::clamp((*relative)[k].x, -Reach, Reach),
                place->reference + std::clamp((*relative)[k].y, -Reach, Reach)};
    }
    if (OutsideExport(dc, p)) return;
    const int space = dc.metrics.staffSpace[place->size];
    const int style = static_cast<int>(e.signWord().high7());
    switch (e.signWord().signType()) {
    case SignType::Curve: DrawManipulableCurve(dc, p, space, style); break;
    case SignType::FreeTie: {
        const bool above = p[1].y >= (p[0].y + p[3].y) / 2;
        DrawArcCurve(dc, {p[0].x, p[0].y, p[3].x, p[3].y, above, std::nullopt, 0, style}, dc.curves.tieThickness);
        break;
    }
    case SignType::Hairpin: {
        const std::array<Point, 3> legs{p[1], p[0], p[2]};
        DrawOpenLine(dc, legs, FontStrokeWidth(dc, "hairpinThickness", 0.16, space), style);
        break;
    }
    case SignType::Bracket:
        DrawOpenLine(dc, p, FontStrokeWidth(dc, "tupletBracketThickness", 0.16, space), style);
        break;
    default: break;
    }
}

}  // namespace notavera
