// The canvas over a QPainter: the score's logical units (tenths of a millimetre, y up) mapped onto whatever
// the painter draws on — window, printer, image, SVG or PDF — from the device's resolution.
#pragma once

#include <QPainter>
#include <QRawFont>
#include <QTransform>
#include <map>
#include <string>
#include <utility>

#include "platform/canvas.h"

namespace notavera {

// The painter must be active on its device for the canvas's whole life. The canvas sets the painter's
// transform, render hints, clip and composition mode as it draws and leaves them so.
//
// Raster devices (Screen, Image) place each logical point at the centre of a pixel, so that one-pixel lines on
// whole coordinates are sharp; they draw antialiased except while a raster operation other than Copy is in
// force, which works on whole pixels so that drawing twice restores the image. Devices that cannot combine with
// what is already drawn (SVG, PDF, printers) draw XOR and NOT-XOR marks plainly in their colour, and inverted
// areas in black, the inverse of white paper.
class QtCanvas final : public Canvas {
public:
    QtCanvas(QPainter& painter, CanvasKind kind);
    ~QtCanvas() override;

    CanvasKind kind() const override { return kind_; }
    double pixelWidth() const override { return 1.0 / scaleX_; }
    double pixelHeight() const override { return 1.0 / scaleY_; }
    void setWindowOrigin(Point origin) override;
    void setClip(std::optional<Box> clip) override;
    void setRasterOp(RasterOp op) override;

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

private:
    QColor colourOf(Colour colour) const;
    QPen qtPen(const Pen& pen) const;
    void useShapeStyle(const ShapeStyle& style);
    // Upright glyphs are drawn in device space at their device point; everything else in the page's logical space.
    // Switching only when the kind of drawing changes keeps a run of glyphs from writing a transform and a saved
    // state per glyph into a PDF page, which doubled its stream and the time spent compressing it.
    void usePageSpace();
    void useDeviceSpace();
    // The device transform for text: its origin at the logical point, x along the escapement, y downwards.
    QTransform textTransform(Point origin, int escapement) const;
    QFont textFont(const TextFont& font) const;
    // The music font at `pixelSize`, cached per canvas since a page draws many glyphs at a few sizes.
    QRawFont musicFont(const GlyphFont& font, double pixelSize);

    QPainter& painter_;
    CanvasKind kind_;
    double scaleX_;  // device pixels per logical unit
    double scaleY_;
    double pixelCentre_;  // 0.5 on raster devices, 0 elsewhere
    bool rasterOps_;      // the device combines colours with what is already drawn
    bool glyphsAsPaths_;  // the device cannot draw glyph runs, only their outlines
    Point origin_;
    QTransform toDevice_;
    bool inDeviceSpace_ = false;  // the painter's transform is the identity, not toDevice_
    RasterOp rop_ = RasterOp::Copy;
    std::map<std::pair<std::string, double>, QRawFont> musicFonts_;
};

}  // namespace notavera
