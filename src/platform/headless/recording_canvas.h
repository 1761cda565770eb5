// The canvas of tests and of `render --out FILE.json`: it draws nothing and keeps every call, in order, as one
// JSON object with its `op` and its coordinates. Text and glyphs are measured from the font files themselves.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/canvas.h"
#include "render/opentype_metrics.h"

namespace notavera {

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(CanvasKind kind = CanvasKind::Recording, int dotsPerInch = 96);

    // Every call so far: a JSON array of objects.
    const nlohmann::json& calls() const { return calls_; }
    void clear() { calls_ = nlohmann::json::array(); }

    CanvasKind kind() const override { return kind_; }
    double pixelWidth() const override { return pixel_; }
    double pixelHeight() const override { return pixel_; }

    void setWindowOrigin(Point origin) override;
    void setClip(std::optional<Box> clip) override;
    void setRasterOp(RasterOp op) override;

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

    void note(const DrawingNote& n) override;

private:
    // The metrics of a font file, read once; null when the file cannot be read.
    const OpenTypeMetrics* metricsOf(const std::string& file);
    TextExtent measure(std::u32string_view codePoints, const std::string& file, double emSize);

    CanvasKind kind_;
    double pixel_;
    nlohmann::json calls_ = nlohmann::json::array();
    std::map<std::string, std::unique_ptr<OpenTypeMetrics>> fonts_;
};

}  // namespace notavera
