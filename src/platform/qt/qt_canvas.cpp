// The canvas over a QPainter: the score's logical units (tenths of a millimetre, y up) mapped onto whatever
// the painter draws on — window, printer, image, SVG or PDF — from the device's resolution.
#include "platform/qt/qt_canvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/qt/qt_fonts.h"

namespace notavera {
namespace {

constexpr double kLogicalPerInch = 254.0;
constexpr double kDashPixelDpi = 96.0;  // dash lengths are those a one-pixel line shows on a 96 dpi screen

QPointF ToQt(Point p) { return QPointF(p.x, p.y); }

QPolygonF ToQt(std::span<const Point> points) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points) polygon.append(ToQt(p));
    return polygon;
}

QRectF ToQt(Box box) {
    return QRectF(QPointF(box.left, box.bottom), QPointF(box.right, box.top)).normalized();
}

// The dash patterns of one-pixel styled lines, in pixels at 96 dpi.
QList<qreal> DashPattern(PenStyle style) {
    switch (style) {
        case PenStyle::Dash: return {18, 6};
        case PenStyle::Dot: return {3, 3};
        case PenStyle::DashDot: return {9, 6, 3, 6};
        case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
        case PenStyle::Solid:
        case PenStyle::Null: break;
    }
    return {};
}

QPainter::CompositionMode CompositionFor(RasterOp op) {
    switch (op) {
        case RasterOp::Xor: return QPainter::RasterOp_SourceXorDestination;
        case RasterOp::NotXor: return QPainter::RasterOp_NotSourceXorDestination;
        case RasterOp::Invert: return QPainter::RasterOp_NotDestination;
        case RasterOp::Copy: break;
    }
    return QPainter::CompositionMode_SourceOver;
}

// Where the radial from the centre towards `p` meets the ellipse, as the ellipse's parametric angle in degrees
// (the angle Qt's arcs take), counter-clockwise with y up.
double ParametricAngle(QRectF box, Point p) {
    const double dx = p.x - box.center().x(), dy = p.y - box.center().y();
    return std::atan2(dy * box.width(), dx * box.height()) * 180.0 / std::numbers::pi;
}

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromCodePoints(std::u32string_view codePoints) {
    return QString::fromUcs4(codePoints.data(), static_cast<qsizetype>(codePoints.size()));
}

}  // namespace

QtCanvas::QtCanvas(QPainter& painter, CanvasKind kind)
    : painter_(painter),
      kind_(kind),
      scaleX_(painter.device()->logicalDpiX() / kLogicalPerInch),
      scaleY_(painter.device()->logicalDpiY() / kLogicalPerInch),
      pixelCentre_(kind == CanvasKind::Screen || kind == CanvasKind::Image ? 0.5 : 0.0) {
    const QPaintEngine* engine = painter.paintEngine();
    rasterOps_ = engine && engine->hasFeature(QPaintEngine::RasterOpModes);
    // Only the raster and PDF engines draw glyph runs; others (SVG) would write empty text, so they get outlines.
    glyphsAsPaths_ = !engine || (engine->type() != QPaintEngine::Raster && engine->type() != QPaintEngine::Pdf);
    painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    setWindowOrigin({0, 0});
}

QtCanvas::~QtCanvas() { usePageSpace(); }

void QtCanvas::usePageSpace() {
    if (!inDeviceSpace_) return;
    painter_.setWorldTransform(toDevice_);
    inDeviceSpace_ = false;
}

void QtCanvas::useDeviceSpace() {
    if (inDeviceSpace_) return;
    painter_.setWorldTransform(QTransform());
    inDeviceSpace_ = true;
}

void QtCanvas::setWindowOrigin(Point origin) {
    origin_ = origin;
    const double deviceHeight = painter_.device()->height();
    // Logical (x, y) → device (pixelCentre + (x − ox)·sx, height − pixelCentre − (y − oy)·sy).
    toDevice_ = QTransform(scaleX_, 0, 0, -scaleY_, pixelCentre_ - origin.x * scaleX_,
                           deviceHeight - pixelCentre_ + origin.y * scaleY_);
    painter_.setWorldTransform(toDevice_);
    inDeviceSpace_ = false;
}

void QtCanvas::setClip(std::optional<Box> clip) {
    if (!clip) {
        painter_.setClipping(false);
        return;
    }
    usePageSpace();
    painter_.setClipRect(ToQt(*clip), Qt::ReplaceClip);
}

void QtCanvas::setRasterOp(RasterOp op) {
    rop_ = op;
    if (!rasterOps_) return;
    painter_.setCompositionMode(CompositionFor(op));
    // Partly covered edge pixels would be combined once and never restored: raster operations work on whole
    // pixels.
    painter_.setRenderHint(QPainter::Antialiasing, op == RasterOp::Copy);
    painter_.setRenderHint(QPainter::TextAntialiasing, op == RasterOp::Copy);
}

QColor QtCanvas::colourOf(Colour colour) const {
    if (rop_ == RasterOp::Invert && !rasterOps_) return Qt::black;
    return QColor(static_cast<int>(RedOf(colour)), static_cast<int>(GreenOf(colour)), static_cast<int>(BlueOf(colour)));
}

// Pen widths are logical units; a width that would be thinner than a device pixel draws one pixel wide, as a
// zero width does, so that thin lines never fade away at small zooms.
QPen QtCanvas::qtPen(const Pen& pen) const {
    if (pen.style == PenStyle::Null) return QPen(Qt::NoPen);
    QPen q(colourOf(pen.colour));
    const double devicePixels = pen.width * std::min(scaleX_, scaleY_);
    if (devicePixels < 1.0) {
        q.setWidthF(0);
        q.setCosmetic(true);
    } else {
        q.setWidthF(pen.width);
    }
    q.setCapStyle(pen.ends == PenEnds::Flat ? Qt::FlatCap : Qt::RoundCap);
    q.setJoinStyle(Qt::RoundJoin);
    QList<qreal> pattern = DashPattern(pen.style);
    if (!pattern.isEmpty()) {
        // Qt counts dashes in pen widths; they are kept to their screen length in device pixels whatever the
        // device's resolution or the pen's width.
        const double unit = std::max(1.0, scaleX_ * kLogicalPerInch / kDashPixelDpi) / std::max(1.0, devicePixels);
        for (qreal& length : pattern) length *= unit;
        q.setDashPattern(pattern);
        q.setCapStyle(Qt::FlatCap);
    }
    return q;
}

void QtCanvas::useShapeStyle(const ShapeStyle& style) {
    painter_.setPen(style.outline ? qtPen(*style.outline) : QPen(Qt::NoPen));
    painter_.setBrush(style.fill ? QBrush(colourOf(*style.fill)) : QBrush(Qt::NoBrush));
}

QTransform QtCanvas::textTransform(Point origin, int escapement) const {
    const QPointF device = toDevice_.map(ToQt(origin));
    QTransform t = QTransform::fromTranslate(device.x(), device.y());
    t.rotate(-escapement / 10.0);  // counter-clockwise on the page is a negative angle with y downwards
    t.scale(scaleX_ / scaleY_, 1.0);
    return t;
}

QFont QtCanvas::textFont(const TextFont& font) const {
    QFont q(SubstituteTextFace(font.face));
    q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.height * scaleY_))));
    q.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 1, 1000)));
    q.setItalic(font.italic);
    return q;
}

QRawFont QtCanvas::musicFont(const GlyphFont& font, double pixelSize) {
    const auto key = std::make_pair(font.file.empty() ? "family:" + font.family : font.file, pixelSize);
    const auto found = musicFonts_.find(key);
    if (found != musicFonts_.end()) return found->second;
    const bool embeds = kind_ == CanvasKind::Pdf || kind_ == CanvasKind::Printer;
    QRawFont raw = embeds ? EmbeddableMusicFont(font, pixelSize) : LoadMusicFont(font, pixelSize);
    musicFonts_.emplace(key, raw);
    return raw;
}

void QtCanvas::drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) {
    if (codePoints.empty() || font.emSize <= 0) return;
    const QRawFont raw = musicFont(font, font.emSize * scaleY_);
    if (!raw.isValid()) return;
    QList<quint32> indexes;
    for (quint32 index : raw.glyphIndexesForString(FromCodePoints(codePoints))) {
        if (index != 0) indexes.append(index);  // code points the font lacks draw nothing
    }
    if (indexes.isEmpty()) return;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
    QList<QPointF> positions;
    QPointF pen(0, 0);
    for (const QPointF& advance : advances) {
        positions.append(pen);
        pen += advance;
    }
    const auto drawRun = [&](QPointF at) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter_.setPen(colourOf(colour));
        painter_.drawGlyphRun(at, run);
    };
    if (!glyphsAsPaths_ && font.escapement == 0 && scaleX_ == scaleY_) {
        useDeviceSpace();
        drawRun(toDevice_.map(ToQt(origin)));
        return;
    }
    usePageSpace();
    painter_.save();
    painter_.setWorldTransform(textTransform(origin, font.escapement));
    if (glyphsAsPaths_) {
        QPainterPath outlines;
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            outlines.addPath(raw.pathForGlyph(indexes[i]).translated(positions[i]));
        }
        painter_.fillPath(outlines, colourOf(colour));
    } else {
        drawRun(QPointF(0, 0));
    }
    painter_.restore();
}

// Measured at the em size in logical units on an unhinted font, so widths do not depend on the device.
TextExtent QtCanvas::measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) {
    if (font.emSize <= 0) return {};
    const QRawFont raw = musicFont(font, font.emSize);
    if (!raw.isValid()) return {};
    double width = 0;
    QList<quint32> indexes = raw.glyphIndexesForString(FromCodePoints(codePoints));
    indexes.removeAll(0u);
    for (const QPointF& advance : raw.advancesForGlyphIndexes(indexes)) width += advance.x();
    return {static_cast<int>(std::lround(width)), static_cast<int>(std::lround(raw.ascent())),
            static_cast<int>(std::lround(raw.descent()))};
}

void QtCanvas::drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                        std::optional<Colour> background) {
    if (utf8.empty()) return;
    const QString text = FromUtf8(utf8);
    const QFont q = textFont(font);
    usePageSpace();
    painter_.save();
    painter_.setWorldTransform(textTransform(origin, font.escapement));
    painter_.setFont(q);
    if (background) {
        const QFontMetricsF metrics(q, painter_.device());
        painter_.fillRect(QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(text), metrics.height()),
                          colourOf(*background));
    }
    painter_.setPen(colourOf(colour));
    painter_.drawText(QPointF(0, 0), text);
    painter_.restore();
}

// Measured with the font the device draws, then brought back to logical units.
TextExtent QtCanvas::measureText(std::string_view utf8, const TextFont& font) {
    const QFontMetricsF metrics(textFont(font), painter_.device());
    return {static_cast<int>(std::lround(metrics.horizontalAdvance(FromUtf8(utf8)) / scaleX_)),
            static_cast<int>(std::lround(metrics.ascent() / scaleY_)),
            static_cast<int>(std::lround(metrics.descent() / scaleY_))};
}

void QtCanvas::drawLine(Point from, Point to, const Pen& pen) {
    usePageSpace();
    painter_.setPen(qtPen(pen));
    painter_.drawLine(ToQt(from), ToQt(to));
}

void QtCanvas::drawPolyline(std::span<const Point> points, const Pen& pen) {
    usePageSpace();
    if (points.size() < 2) return;
    painter_.setPen(qtPen(pen));
    painter_.drawPolyline(ToQt(points));
}

void QtCanvas::drawBezier(std::span<const Point> points, const Pen& pen) {
    usePageSpace();
    if (points.size() < 4) return;
    QPainterPath path(ToQt(points[0]));
    for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
        path.cubicTo(ToQt(points[i]), ToQt(points[i + 1]), ToQt(points[i + 2]));
    }
    painter_.setPen(qtPen(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

void QtCanvas::drawPolygon(std::span<const Point> points, const ShapeStyle& style) {
    usePageSpace();
    if (points.size() < 2) return;
    useShapeStyle(style);
    painter_.drawPolygon(ToQt(points), style.fillRule == FillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
}

void QtCanvas::drawRect(Box box, const ShapeStyle& style) {
    usePageSpace();
    useShapeStyle(style);
    painter_.drawRect(ToQt(box));
}

void QtCanvas::drawEllipse(Box box, const ShapeStyle& style) {
    usePageSpace();
    useShapeStyle(style);
    painter_.drawEllipse(ToQt(box));
}

// Qt's angles turn the other way once y points up, so both the start and the sweep change sign.
void QtCanvas::drawArc(Box box, Point start, Point end, const Pen& pen) {
    usePageSpace();
    const QRectF rect = ToQt(box);
    const double from = ParametricAngle(rect, start);
    double sweep = ParametricAngle(rect, end) - from;
    while (sweep <= 0) sweep += 360.0;
    QPainterPath path;
    path.arcMoveTo(rect, -from);
    path.arcTo(rect, -from, -sweep);
    painter_.setPen(qtPen(pen));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
}

// The image's rows run downwards: the page's upward y is turned over around the box for it.
void QtCanvas::drawImage(Box box, const Image& image) {
    usePageSpace();
    if (image.empty()) return;
    const QImage picture(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                         static_cast<qsizetype>(image.width) * 4, QImage::Format_ARGB32);
    const QRectF rect = ToQt(box);
    painter_.save();
    painter_.translate(rect.left(), rect.bottom());
    painter_.scale(1, -1);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform);
    painter_.drawImage(QRectF(0, 0, rect.width(), rect.height()), picture);
    painter_.restore();
}

}  // namespace notavera
