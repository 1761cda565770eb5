// A canvas that draws nothing and keeps the box of every mark made on it, so that layout can find where a page
// already holds ink by running the page's own drawing. Music-font glyphs take their boxes from the font, text
// is measured from the font files of the faces that stand in for the document's.
#pragma once

#include <climits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "render/opentype_metrics.h"

namespace notavera {

class MusicFont;

class InkCanvas : public Canvas {
public:
    // Boxes are in logical units; `musicFont` gives the glyphs' boxes (none: glyphs leave no ink).
    explicit InkCanvas(const MusicFont* musicFont) : musicFont_(musicFont) {}

    const std::vector<Box>& boxes() const { return boxes_; }

    // Vertical lines longer than this leave no ink: the bar lines that run through a system from staff to staff,
    // which texts between the staves may cross.
    void ignoreVerticalLinesLongerThan(int length) { longestVertical_ = length; }

    CanvasKind kind() const override { return CanvasKind::Recording; }
    double pixelWidth() const override { return 1.0; }
    double pixelHeight() const override { return 1.0; }
    void setWindowOrigin(Point) override {}
    void setClip(std::optional<Box>) override {}
    void setRasterOp(RasterOp) override {}

    void drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) override;
    TextExtent measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) override;
    void drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                  std::optional<Colour> background) override;
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
    void addPoints(std::span<const Point> points, int halfWidth);
    const OpenTypeMetrics* metricsOf(const std::string& file);

    const MusicFont* musicFont_;
    int longestVertical_ = INT_MAX;
    std::vector<Box> boxes_;
    std::map<std::string, std::unique_ptr<OpenTypeMetrics>> fonts_;
};

// Whether two boxes overlap by more than `margin` both ways (a negative margin asks for that much room between).
bool BoxesOverlap(const Box& a, const Box& b, int margin = 0);

}  // namespace notavera
