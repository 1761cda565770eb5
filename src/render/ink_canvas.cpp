// Collecting the boxes of what a drawing pass puts on the page.
#include "render/ink_canvas.h"

#include <algorithm>
#include <cmath>

#include "render/ellipse_arc.h"
#include "render/music_font.h"
#include "render/text_faces.h"
#include "render/utf8.h"

namespace notavera {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Where a glyph of the font draws, by its code point: the font's glyph table is keyed by the system's codes.
const MusicGlyph* GlyphOfCodePoint(const MusicFont& font, char32_t cp) {
    for (int code = 0; code < 256; ++code) {
        for (bool alternate : {false, true}) {
            const MusicGlyph* g = font.glyph(code, alternate);
            if (g != nullptr && g->codePoint == cp) return g;
        }
    }
    for (std::size_t k = 0; k < StructuralGlyphCount; ++k) {
        const MusicGlyph* g = font.structural(static_cast<StructuralGlyph>(k));
        if (g != nullptr && g->codePoint == cp) return g;
    }
    return nullptr;
}

}  // namespace

bool BoxesOverlap(const Box& a, const Box& b, int margin) {
    return std::min(a.right, b.right) - std::max(a.left, b.left) > margin &&
           std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > margin;
}

void InkCanvas::drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour) {
    if (musicFont_ == nullptr || font.escapement != 0) return;
    const double space = font.emSize / MusicFont::StaffSpacesPerEm;
    double pen = 0;
    for (char32_t cp : codePoints) {
        const MusicGlyph* g = GlyphOfCodePoint(*musicFont_, cp);
        if (g == nullptr) continue;
        const double x = origin.x + pen * space;
        boxes_.push_back({Round(x + g->box.sw.x * space), Round(origin.y + g->box.sw.y * space),
                          Round(x + g->box.ne.x * space), Round(origin.y + g->box.ne.y * space)});
        pen += g->advance;
    }
}

TextExtent InkCanvas::measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) {
    TextExtent e;
    if (musicFont_ == nullptr) return e;
    const double space = font.emSize / MusicFont::StaffSpacesPerEm;
    double advance = 0;
    for (char32_t cp : codePoints)
        if (const MusicGlyph* g = GlyphOfCodePoint(*musicFont_, cp)) advance += g->advance;
    e.width = Round(advance * space);
    e.ascent = Round(musicFont_->ascent() * font.emSize);
    e.descent = Round(musicFont_->descent() * font.emSize);
    return e;
}

// Texts are placed by their own layer, which knows their boxes: they leave no ink here.
void InkCanvas::drawText(Point, std::string_view, const TextFont&, Colour, std::optional<Colour>) {}

const OpenTypeMetrics* InkCanvas::metricsOf(const std::string& file) {
    auto it = fonts_.find(file);
    if (it == fonts_.end()) {
        auto loaded = OpenTypeMetrics::Load(file);
        it = fonts_.emplace(file, loaded ? std::make_unique<OpenTypeMetrics>(std::move(*loaded)) : nullptr).first;
    }
    return it->second.get();
}

TextExtent InkCanvas::measureText(std::string_view utf8, const TextFont& font) {
    const InstalledTextFace face = ResolveTextFace(font.face, font.weight, font.italic);
    const OpenTypeMetrics* m = metricsOf(face.file);
    if (m == nullptr || m->unitsPerEm() <= 0) return {};
    double units = 0;
    for (char32_t c : DecodeUtf8(utf8)) units += m->advance(c).value_or(m->advance(U'?').value_or(0));
    const double scale = static_cast<double>(font.height) / m->unitsPerEm();
    return {Round(units * scale), Round(m->ascender() * scale), Round(m->descender() * scale)};
}

void InkCanvas::addPoints(std::span<const Point> points, int halfWidth) {
    if (points.empty()) return;
    Box b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        b.left = std::min(b.left, p.x);
        b.right = std::max(b.right, p.x);
        b.bottom = std::min(b.bottom, p.y);
        b.top = std::max(b.top, p.y);
    }
    boxes_.push_back({b.left - halfWidth, b.bottom - halfWidth, b.right + halfWidth, b.top + halfWidth});
}

void InkCanvas::drawLine(Point from, Point to, const Pen& pen) {
    if (from.x == to.x && std::abs(from.y - to.y) > longestVertical_) return;
    const Point points[] = {from, to};
    addPoints(points, std::max(pen.width, 1) / 2);
}

void InkCanvas::drawPolyline(std::span<const Point> points, const Pen& pen) {
    // Each segment on its own: a long bent line (a slur) leaves the space inside its bend free.
    for (std::size_t i = 0; i + 1 < points.size(); ++i) drawLine(points[i], points[i + 1], pen);
}

void InkCanvas::drawBezier(std::span<const Point> points, const Pen& pen) {
    // A segment lies within its control points; sampled, it leaves the room under a slur's arch free.
    for (std::size_t i = 0; i + 3 < points.size(); i += 3) {
        Point previous = points[i];
        for (int k = 1; k <= 8; ++k) {
            const double t = k / 8.0, u = 1 - t;
            const auto at = [&](auto member) {
                return Round(u * u * u * (points[i].*member) + 3 * u * u * t * (points[i + 1].*member) +
                             3 * u * t * t * (points[i + 2].*member) + t * t * t * (points[i + 3].*member));
            };
            const Point p{at(&Point::x), at(&Point::y)};
            drawLine(previous, p, pen);
            previous = p;
        }
    }
}

void InkCanvas::drawPolygon(std::span<const Point> points, const ShapeStyle& style) {
    // A shape of few corners (a beam, a bracket's end) is ink throughout its box. One of many is the outline of a
    // thin curve, a filled slur or tie: its edges hold its ink, and the room under its arch stays free.
    if (points.size() <= 4) {
        addPoints(points, 0);
        return;
    }
    const Pen pen = style.outline.value_or(Pen{});
    for (std::size_t i = 0; i < points.size(); ++i) drawLine(points[i], points[(i + 1) % points.size()], pen);
}

void InkCanvas::drawRect(Box box, const ShapeStyle&) {
    const Point points[] = {{box.left, box.bottom}, {box.right, box.top}};
    addPoints(points, 0);
}

void InkCanvas::drawEllipse(Box box, const ShapeStyle& style) { drawRect(box, style); }

void InkCanvas::drawImage(Box box, const Image& image) {
    if (!image.empty()) drawRect(box, {});
}

void InkCanvas::drawArc(Box box, Point start, Point end, const Pen& pen) {
    // A slur's arc is a small part of its ellipse: followed along, it leaves the room under its arch free.
    std::vector<Point> points;
    AppendArcPoints(points, box, start, end, false);
    drawPolyline(points, pen);
}

}  // namespace notavera
