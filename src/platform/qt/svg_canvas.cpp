// A canvas that writes SVG text itself, each music-font glyph defined once and placed by reference.
#include "platform/qt/svg_canvas.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/qt/qt_fonts.h"

namespace notavera {
namespace {

constexpr double kLogicalPerInch = 254.0;
constexpr double kDashPixelDpi = 96.0;  // dashes keep the length a one-pixel line shows on a 96 dpi screen

// A number as short as it can be written: whole numbers without a point, others to two decimals.
std::string Num(double v) {
    char text[32];
    const double rounded = std::round(v * 100.0) / 100.0;
    std::snprintf(text, sizeof text, "%.2f", rounded == 0 ? 0.0 : rounded);
    std::string s(text);
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') s.pop_back();
    return s;
}

std::string Escaped(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string DashArray(PenStyle style) {
    switch (style) {
        case PenStyle::Dash: return "18 6";
        case PenStyle::Dot: return "3 3";
        case PenStyle::DashDot: return "9 6 3 6";
        case PenStyle::DashDotDot: return "9 3 3 3 3 3";
        case PenStyle::Solid:
        case PenStyle::Null: break;
    }
    return {};
}

QFont TextQFont(const TextFont& font) {
    QFont q(SubstituteTextFace(font.face));
    q.setPixelSize(std::max(1, font.height));
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    q.setItalic(font.italic);
    return q;
}

QString FromCodePoints(std::u32string_view codePoints) {
    return QString::fromUcs4(codePoints.data(), static_cast<qsizetype>(codePoints.size()));
}

std::string Rotation(int escapement, double cx, double cy) {
    if (escapement == 0) return {};
    return " transform=\"rotate(" + Num(-escapement / 10.0) + " " + Num(cx) + " " + Num(cy) + ")\"";
}

// Outline commands of a path, each point passed through `map`.
template <typename Map>
std::string PathData(const QPainterPath& path, Map map) {
    std::string d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QPointF p = map(QPointF(e.x, e.y));
        switch (e.type) {
            case QPainterPath::MoveToElement: d += 'M'; break;
            case QPainterPath::LineToElement: d += 'L'; break;
            case QPainterPath::CurveToElement: d += 'C'; break;
            case QPainterPath::CurveToDataElement: d += ' '; break;
        }
        d += Num(p.x()) + ' ' + Num(p.y());
    }
    return d;
}

}  // namespace

SvgCanvas::SvgCanvas(Box area)
    : width_(std::abs(area.right - area.left)),
      height_(std::abs(area.top - area.bottom)),
      origin_{std::min(area.left, area.right), std::min(area.bottom, area.top)} {}

void SvgCanvas::setWindowOrigin(Point origin) { origin_ = origin; }

// Each way of painting is written once, as a style class, and every drawing names its class: a dense page
// repeats a few pens thousands of times.
std::string SvgCanvas::paintClass(const std::string& attributes) {
    if (attributes.empty()) return {};
    const auto found = classes_.find(attributes);
    if (found != classes_.end()) return found->second;
    const std::string name = "p" + std::to_string(classes_.size() + 1);
    // ' name="value"' pairs become 'name:value;' declarations.
    std::string css;
    for (std::size_t at = 0; (at = attributes.find(' ', at)) != std::string::npos;) {
        const std::size_t equals = attributes.find('=', at), close = attributes.find('"', equals + 2);
        css += attributes.substr(at + 1, equals - at - 1) + ":";
        css += attributes.substr(equals + 2, close - equals - 2) + ";";
        at = close + 1;
    }
    style_ += "." + name + "{" + css + "}\n";
    return classes_.emplace(attributes, " class=\"" + name + "\"").first->second;
}

void SvgCanvas::setClip(std::optional<Box> clip) {
    if (clipped_) body_ += "</g>\n";
    clipped_ = clip.has_value();
    if (!clip) return;
    const std::string id = "c" + std::to_string(++clipCount_);
    const double left = x(std::min(clip->left, clip->right)), top = y(std::max(clip->top, clip->bottom));
    defs_ += "<clipPath id=\"" + id + "\"><rect x=\"" + Num(left) + "\" y=\"" + Num(top) + "\" width=\"" +
             Num(std::abs(clip->right - clip->left)) + "\" height=\"" + Num(std::abs(clip->top - clip->bottom)) +
             "\"/></clipPath>\n";
    body_ += "<g clip-path=\"url(#" + id + ")\">\n";
}

std::string SvgCanvas::point(Point p) const { return Num(x(p.x)) + "," + Num(y(p.y)); }

// Paper cannot combine colours with what is under them: exclusive-or marks are drawn in their colour and inverted
// areas in black, the inverse of white paper.
std::string SvgCanvas::colour(Colour c) const {
    if (rop_ == RasterOp::Invert) c = 0;
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

// A pen thinner than a unit draws one unit wide, as the other devices draw it one pixel wide.
std::string SvgCanvas::stroke(const Pen& pen) const {
    if (pen.style == PenStyle::Null) return " stroke=\"none\"";
    std::string s = " stroke=\"" + colour(pen.colour) + "\"";
    if (pen.width > 1) s += " stroke-width=\"" + Num(pen.width) + "\"";
    const std::string dashes = DashArray(pen.style);
    if (!dashes.empty()) {
        std::string scaled;
        const double unit = kLogicalPerInch / kDashPixelDpi;
        for (std::size_t at = 0; at < dashes.size();) {
            const std::size_t end = std::min(dashes.find(' ', at), dashes.size());
            scaled += (scaled.empty() ? "" : " ") + Num(std::stod(dashes.substr(at, end - at)) * unit);
            at = end + 1;
        }
        s += " stroke-dasharray=\"" + scaled + "\"";
    }
    if (pen.ends == PenEnds::Flat || !dashes.empty()) s += " stroke-linecap=\"butt\"";
    return s;
}

std::string SvgCanvas::shape(const ShapeStyle& style) const {
    std::string s = style.fill ? " fill=\"" + colour(*style.fill) + "\"" : " fill=\"none\"";
    return s + (style.outline ? stroke(*style.outline) : "");
}

const QRawFont& SvgCanvas::outlineFont(const GlyphFont& font) {
    const std::string key = font.family + '\n' + font.file;
    const auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    QRawFont raw = LoadMusicFont(font, 1000);
    if (raw.isValid() && raw.unitsPerEm() != 1000) raw = LoadMusicFont(font, raw.unitsPerEm());
    return fonts_.emplace(key, raw).first->second;
}

// Defined once at each size it is drawn at: the outline in font units, scaled by its own transform.
std::string SvgCanvas::glyphId(const GlyphFont& font, quint32 index, const QRawFont& raw, double scale) {
    const std::string size = Num(scale * 10000);
    const auto key = std::tuple{font.family + '\n' + font.file, index, size};
    const auto found = glyphs_.find(key);
    if (found != glyphs_.end()) return found->second;
    const std::string id = "g" + std::to_string(glyphs_.size() + 1);
    defs_ += "<path id=\"" + id + "\" stroke=\"none\" transform=\"scale(" + Num(scale * 10000) + "e-4)\" d=\"" +
             PathData(raw.pathForGlyph(index), [](QPointF p) { return p; }) + "\"/>\n";
    glyphs_.emplace(key, id);
    return id;
}

void SvgCanvas::drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour c) {
    if (codePoints.empty() || font.emSize <= 0) return;
    const QRawFont& raw = outlineFont(font);
    if (!raw.isValid()) return;
    QList<quint32> indexes = raw.glyphIndexesForString(FromCodePoints(codePoints));
    indexes.removeAll(0u);  // code points the font lacks draw nothing
    if (indexes.isEmpty()) return;
    const double scale = font.emSize / raw.unitsPerEm();
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
    const std::string paint = paintClass(c == 0 && rop_ != RasterOp::Invert ? "" : " fill=\"" + colour(c) + "\"");
    const double angle = -font.escapement / 10.0;
    double pen = 0;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        const double radians = angle * std::numbers::pi / 180.0;
        const double gx = x(origin.x) + pen * scale * std::cos(radians);
        const double gy = y(origin.y) + pen * scale * std::sin(radians);
        body_ += "<use xlink:href=\"#" + glyphId(font, indexes[i], raw, scale) + "\" x=\"" + Num(gx) + "\" y=\"" +
                 Num(gy) + "\"" + paint +
                 (angle != 0 ? " transform=\"rotate(" + Num(angle) + " " + Num(gx) + " " + Num(gy) + ")\"" : "") +
                 "/>\n";
        pen += advances[i].x();
    }
}

TextExtent SvgCanvas::measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) {
    if (font.emSize <= 0) return {};
    const QRawFont& raw = outlineFont(font);
    if (!raw.isValid()) return {};
    const double scale = font.emSize / raw.unitsPerEm();
    double width = 0;
    QList<quint32> indexes = raw.glyphIndexesForString(FromCodePoints(codePoints));
    indexes.removeAll(0u);
    for (const QPointF& advance : raw.advancesForGlyphIndexes(indexes)) width += advance.x();
    return {static_cast<int>(std::lround(width * scale)), static_cast<int>(std::lround(raw.ascent() * scale)),
            static_cast<int>(std::lround(raw.descent() * scale))};
}

void SvgCanvas::drawText(Point origin, std::string_view utf8, const TextFont& font, Colour c,
                         std::optional<Colour> background) {
    if (utf8.empty()) return;
    const double tx = x(origin.x), ty = y(origin.y);
    const std::string rotation = Rotation(font.escapement, tx, ty);
    if (background) {
        const QFontMetricsF metrics(TextQFont(font));
        const double advance = metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
        body_ += "<rect x=\"" + Num(tx) + "\" y=\"" + Num(ty - metrics.ascent()) + "\" width=\"" + Num(advance) +
                 "\" height=\"" + Num(metrics.height()) + "\" fill=\"" + colour(*background) + "\"" + rotation +
                 "/>\n";
    }
    body_ += "<text x=\"" + Num(tx) + "\" y=\"" + Num(ty) + "\" font-family=\"" +
             Escaped(SubstituteTextFace(font.face).toStdString()) + "\" font-size=\"" + Num(std::max(1, font.height)) +
             "\"";
    if (font.weight >= 600) body_ += " font-weight=\"bold\"";
    if (font.italic) body_ += " font-style=\"italic\"";
    if (c != 0 || rop_ == RasterOp::Invert) body_ += " fill=\"" + colour(c) + "\"";
    body_ += rotation + ">" + Escaped(utf8) + "</text>\n";
}

TextExtent SvgCanvas::measureText(std::string_view utf8, const TextFont& font) {
    const QFontMetricsF metrics(TextQFont(font));
    const double advance = metrics.horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())));
    return {static_cast<int>(std::lround(advance)),
            static_cast<int>(std::lround(metrics.ascent())), static_cast<int>(std::lround(metrics.descent()))};
}

void SvgCanvas::drawLine(Point from, Point to, const Pen& pen) {
    const std::string paint = paintClass(" fill=\"none\"" + stroke(pen));
    std::string d = "M" + Num(x(from.x)) + " " + Num(y(from.y));
    if (from.y == to.y) d += "H" + Num(x(to.x));
    else if (from.x == to.x) d += "V" + Num(y(to.y));
    else d += "L" + Num(x(to.x)) + " " + Num(y(to.y));
    body_ += "<path" + paint + " d=\"" + d + "\"/>\n";
}

void SvgCanvas::drawPolyline(std::span<const Point> points, const Pen& pen) {
    if (points.size() < 2) return;
    std::string list;
    for (const Point& p : points) list += (list.empty() ? "" : " ") + point(p);
    body_ += "<polyline" + paintClass(" fill=\"none\"" + stroke(pen)) + " points=\"" + list + "\"/>\n";
}

void SvgCanvas::drawBezier(std::span<const Point> points, const Pen& pen) {
    if (points.size() < 4) return;
    std::string d = "M" + point(points[0]);
    for (std::size_t i = 1; i + 2 < points.size(); i += 3)
        d += "C" + point(points[i]) + " " + point(points[i + 1]) + " " + point(points[i + 2]);
    body_ += "<path" + paintClass(" fill=\"none\"" + stroke(pen)) + " d=\"" + d + "\"/>\n";
}

void SvgCanvas::drawPolygon(std::span<const Point> points, const ShapeStyle& style) {
    if (points.size() < 2) return;
    std::string list;
    for (const Point& p : points) list += (list.empty() ? "" : " ") + point(p);
    body_ += "<polygon" + paintClass(shape(style)) + (style.fillRule == FillRule::Winding ? " fill-rule=\"nonzero\"" : " fill-rule=\"evenodd\"") + " points=\"" + list + "\"/>\n";
}

void SvgCanvas::drawRect(Box box, const ShapeStyle& style) {
    body_ += "<rect" + paintClass(shape(style)) + " x=\"" + Num(x(std::min(box.left, box.right))) + "\" y=\"" +
             Num(y(std::max(box.top, box.bottom))) +
             "\" width=\"" + Num(std::abs(box.right - box.left)) + "\" height=\"" +
             Num(std::abs(box.top - box.bottom)) + "\"/>\n";
}

void SvgCanvas::drawEllipse(Box box, const ShapeStyle& style) {
    body_ += "<ellipse" + paintClass(shape(style)) + " cx=\"" + Num(x((box.left + box.right) / 2.0)) + "\" cy=\"" +
             Num(y((box.top + box.bottom) / 2.0)) +
             "\" rx=\"" + Num(std::abs(box.right - box.left) / 2.0) + "\" ry=\"" +
             Num(std::abs(box.top - box.bottom) / 2.0) + "\"/>\n";
}

// The arc is built where y points up, as the radials are given, then turned over with every other point.
void SvgCanvas::drawArc(Box box, Point start, Point end, const Pen& pen) {
    const QRectF rect = QRectF(QPointF(box.left, box.bottom), QPointF(box.right, box.top)).normalized();
    auto angleOf = [&](Point p) {
        const double dx = p.x - rect.center().x(), dy = p.y - rect.center().y();
        return std::atan2(dy * rect.width(), dx * rect.height()) * 180.0 / std::numbers::pi;
    };
    const double from = angleOf(start);
    double sweep = angleOf(end) - from;
    while (sweep <= 0) sweep += 360.0;
    // Qt's arcs turn clockwise on a y-up page; the angles are mirrored so the arc runs counter-clockwise.
    QPainterPath path;
    path.arcMoveTo(rect, -from);
    path.arcTo(rect, -from, -sweep);
    const std::string d = PathData(path, [this](QPointF p) { return QPointF(x(p.x()), y(p.y())); });
    body_ += "<path" + paintClass(" fill=\"none\"" + stroke(pen)) + " d=\"" + d + "\"/>\n";
}

// The image goes in as a PNG of its own pixels, which every SVG reader decodes.
void SvgCanvas::drawImage(Box box, const Image& image) {
    if (image.empty()) return;
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_ARGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "PNG")) return;
    body_ += "<image x=\"" + Num(x(std::min(box.left, box.right))) + "\" y=\"" +
             Num(y(std::max(box.top, box.bottom))) + "\" width=\"" + Num(std::abs(box.right - box.left)) +
             "\" height=\"" + Num(std::abs(box.top - box.bottom)) +
             "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64," + png.toBase64().toStdString() +
             "\"/>\n";
}

std::string SvgCanvas::svg() const {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\"";
    out += " version=\"1.1\" width=\"" +
           Num(width_ / 10.0) + "mm\" height=\"" + Num(height_ / 10.0) + "mm\" viewBox=\"-0.5 0.5 " +
           std::to_string(width_) + " " + std::to_string(height_) +
           "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" xml:space=\"preserve\">\n";
    out += "<defs>\n<style type=\"text/css\"><![CDATA[\n" + style_ + "]]></style>\n" + defs_ + "</defs>\n";
    out += body_;
    if (clipped_) out += "</g>\n";
    return out + "</svg>\n";
}

}  // namespace notavera
