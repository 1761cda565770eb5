// A canvas that writes SVG text itself: each music-font glyph is defined once and placed by reference, so a dense
// page stays small, and the file is plain SVG 1.1 that browsers, Inkscape and librsvg read.
#pragma once

#include <QRawFont>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "platform/canvas.h"

namespace notavera {

// One SVG user unit is one logical unit (a tenth of a millimetre at zoom 1), y downwards from the area's top;
// the picture's size is given in millimetres. As on the other raster devices, whole units fall on the centres of
// pixels at 254 dpi (the view box starts half a unit out), so one-unit lines on whole coordinates are sharp.
// Text stays text, in the substituted free faces.
class SvgCanvas final : public Canvas {
public:
    // The picture shows `area` (logical units).
    explicit SvgCanvas(Box area);

    CanvasKind kind() const override { return CanvasKind::Svg; }
    double pixelWidth() const override { return 1.0; }
    double pixelHeight() const override { return 1.0; }
    void setWindowOrigin(Point origin) override;
    void setClip(std::optional<Box> clip) override;
    void setRasterOp(RasterOp op) override { rop_ = op; }

    void drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) override;
    TextExtent measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) override;
    void drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                  std::optional<Colour> background = std::nullopt) override;
    TextExtent measureText(std::string_view utf8, const TextFont& font) override;

    void drawLine(Point from, Point to, const Pen& pen) override;
    void drawPolyline(std::span<const Point> points, const Pen& pen) override;
    void drawBezier(std::span<const Point> points, const Pen& pen) override;
    void drawPolygon(std::span<const Point> points, const ShapeStyle& style) override;
    void drawRect(Box box, const ShapeStyle& style) override;
    void drawEllipse(Box box, const ShapeStyle& style) override;
    void drawArc(Box box, Point start, Point end, const Pen& pen) override;
    void drawImage(Box box, const Image& image) override;

    // The whole document: the definitions, then the drawing in the order it was made.
    std::string svg() const;

private:
    double x(double logical) const { return logical - origin_.x; }
    double y(double logical) const { return height_ - (logical - origin_.y); }
    std::string point(Point p) const;
    std::string colour(Colour c) const;
    std::string stroke(const Pen& pen) const;
    std::string shape(const ShapeStyle& style) const;
    // The class attribute of the style painting with `attributes` (' name="value"' pairs); nothing for none.
    std::string paintClass(const std::string& attributes);
    // The font at its own units per em, where glyph outlines have whole coordinates; cached per face.
    const QRawFont& outlineFont(const GlyphFont& font);
    // The id of the glyph's definition, written the first time the glyph is used.
    std::string glyphId(const GlyphFont& font, quint32 index, const QRawFont& raw, double scale);

    int width_;
    int height_;
    Point origin_;
    RasterOp rop_ = RasterOp::Copy;
    bool clipped_ = false;
    std::string style_;
    std::map<std::string, std::string> classes_;
    int clipCount_ = 0;
    std::string defs_;
    std::string body_;
    std::map<std::string, QRawFont> fonts_;
    std::map<std::tuple<std::string, quint32, std::string>, std::string> glyphs_;
};

}  // namespace notavera
