// Records each canvas call as a JSON object; measures with the advances and vertical metrics of the font files.
#include "platform/headless/recording_canvas.h"

#include <cmath>

#include "render/text_faces.h"
#include "render/utf8.h"

namespace notavera {
namespace {

using nlohmann::json;

constexpr const char* PenStyleName(PenStyle s) {
    switch (s) {
    case PenStyle::Solid: return "solid";
    case PenStyle::Dash: return "dash";
    case PenStyle::Dot: return "dot";
    case PenStyle::DashDot: return "dashDot";
    case PenStyle::DashDotDot: return "dashDotDot";
    case PenStyle::Null: return "null";
    }
    return "solid";
}

constexpr const char* RasterOpName(RasterOp op) {
    switch (op) {
    case RasterOp::Copy: return "copy";
    case RasterOp::Xor: return "xor";
    case RasterOp::NotXor: return "notXor";
    case RasterOp::Invert: return "invert";
    }
    return "copy";
}

json PenJson(const Pen& pen) {
    return {{"width", pen.width}, {"colour", pen.colour}, {"style", PenStyleName(pen.style)},
            {"ends", pen.ends == PenEnds::Flat ? "flat" : "round"}};
}

json StyleJson(json call, const ShapeStyle& style) {
    call["outline"] = style.outline ? PenJson(*style.outline) : json(nullptr);
    call["fill"] = style.fill ? json(*style.fill) : json(nullptr);
    return call;
}

json PointsJson(std::span<const Point> points) {
    json out = json::array();
    for (const Point& p : points) out.push_back({p.x, p.y});
    return out;
}

json BoxJson(json call, Box b) {
    call["left"] = b.left;
    call["bottom"] = b.bottom;
    call["right"] = b.right;
    call["top"] = b.top;
    return call;
}

// When no font file can be read the canvas still answers, with the proportions of an average Latin face.
TextExtent NominalExtent(std::size_t count, double emSize) {
    return {static_cast<int>(std::lround(0.5 * emSize * static_cast<double>(count))),
            static_cast<int>(std::lround(0.8 * emSize)), static_cast<int>(std::lround(0.2 * emSize))};
}

}  // namespace

RecordingCanvas::RecordingCanvas(CanvasKind kind, int dotsPerInch)
    : kind_(kind), pixel_(254.0 / (dotsPerInch > 0 ? dotsPerInch : 96)) {}

void RecordingCanvas::setWindowOrigin(Point origin) {
    calls_.push_back({{"op", "origin"}, {"x", origin.x}, {"y", origin.y}});
}

void RecordingCanvas::setClip(std::optional<Box> clip) {
    calls_.push_back(clip ? BoxJson({{"op", "clip"}}, *clip) : json{{"op", "clip"}, {"none", true}});
}

void RecordingCanvas::setRasterOp(RasterOp op) { calls_.push_back({{"op", "rasterOp"}, {"mode", RasterOpName(op)}}); }

void RecordingCanvas::drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) {
    json cps = json::array();
    for (char32_t c : codePoints) cps.push_back(static_cast<std::uint32_t>(c));
    calls_.push_back({{"op", "glyphRun"}, {"x", origin.x}, {"y", origin.y}, {"codePoints", cps},
                      {"family", font.family}, {"em", font.emSize}, {"escapement", font.escapement},
                      {"colour", colour}});
}

TextExtent RecordingCanvas::measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) {
    return measure(codePoints, font.file, font.emSize);
}

void RecordingCanvas::drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                               std::optional<Colour> background) {
    json f{{"face", font.face}, {"height", font.height}, {"weight", font.weight}, {"italic", font.italic},
           {"escapement", font.escapement}, {"charset", font.charset}};
    calls_.push_back({{"op", "text"}, {"x", origin.x}, {"y", origin.y}, {"text", std::string(utf8)}, {"font", f},
                      {"colour", colour}, {"background", background ? json(*background) : json(nullptr)}});
}

TextExtent RecordingCanvas::measureText(std::string_view utf8, const TextFont& font) {
    const InstalledTextFace face = ResolveTextFace(font.face, font.weight, font.italic);
    return measure(DecodeUtf8(utf8), face.file, font.height);
}

void RecordingCanvas::drawLine(Point from, Point to, const Pen& pen) {
    calls_.push_back(
        {{"op", "line"}, {"x1", from.x}, {"y1", from.y}, {"x2", to.x}, {"y2", to.y}, {"pen", PenJson(pen)}});
}

void RecordingCanvas::drawPolyline(std::span<const Point> points, const Pen& pen) {
    calls_.push_back({{"op", "polyline"}, {"points", PointsJson(points)}, {"pen", PenJson(pen)}});
}

void RecordingCanvas::drawBezier(std::span<const Point> points, const Pen& pen) {
    calls_.push_back({{"op", "bezier"}, {"points", PointsJson(points)}, {"pen", PenJson(pen)}});
}

void RecordingCanvas::drawPolygon(std::span<const Point> points, const ShapeStyle& style) {
    json call = StyleJson({{"op", "polygon"}, {"points", PointsJson(points)}}, style);
    if (style.fillRule == FillRule::Winding) call["winding"] = true;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::drawRect(Box box, const ShapeStyle& style) {
    calls_.push_back(StyleJson(BoxJson({{"op", "rect"}}, box), style));
}

void RecordingCanvas::drawEllipse(Box box, const ShapeStyle& style) {
    calls_.push_back(StyleJson(BoxJson({{"op", "ellipse"}}, box), style));
}

void RecordingCanvas::drawArc(Box box, Point start, Point end, const Pen& pen) {
    json call = BoxJson({{"op", "arc"}}, box);
    call["start"] = {start.x, start.y};
    call["end"] = {end.x, end.y};
    call["pen"] = PenJson(pen);
    calls_.push_back(std::move(call));
}

// The image by its size and the colours of its corners, enough to tell it is the right way round.
void RecordingCanvas::drawImage(Box box, const Image& image) {
    json call = BoxJson({{"op", "image"}}, box);
    call["width"] = image.width;
    call["height"] = image.height;
    if (!image.empty()) {
        const auto at = [&image](int x, int y) { return image.pixels[static_cast<std::size_t>(y) * image.width + x]; };
        call["corners"] = {at(0, 0), at(image.width - 1, 0), at(0, image.height - 1),
                           at(image.width - 1, image.height - 1)};
    }
    calls_.push_back(std::move(call));
}

void RecordingCanvas::note(const DrawingNote& n) {
    json call{{"op", std::string(n.op)}};
    if (n.op == "glyph") {
        call.update({{"code", n.code}, {"x", n.x1}, {"y", n.y1}, {"fontHeight", n.fontHeight}});
    } else if (n.op == "glyphText") {
        json codes = json::array();
        for (char c : n.text) codes.push_back(static_cast<unsigned char>(c));
        call.update({{"codes", codes}, {"x", n.x1}, {"y", n.y1}, {"centred", n.centred}, {"fontHeight", n.fontHeight}});
    } else if (n.op == "vline") {
        call.update({{"x", n.x1}, {"y1", n.y1}, {"y2", n.y2}, {"width", n.width}});
    } else if (n.op == "band") {
        call.update({{"x1", n.x1}, {"y1", n.y1}, {"x2", n.x2}, {"y2", n.y2}, {"t", n.width}});
    } else if (n.op == "disc") {
        call.update({{"x", n.x1}, {"y", n.y1}, {"r", n.width}});
    } else {
        call.update({{"x1", n.x1}, {"y1", n.y1}, {"x2", n.x2}, {"y2", n.y2}, {"width", n.width}});
    }
    call["colour"] = n.colour;
    calls_.push_back(std::move(call));
}

const OpenTypeMetrics* RecordingCanvas::metricsOf(const std::string& file) {
    auto it = fonts_.find(file);
    if (it == fonts_.end()) {
        auto loaded = OpenTypeMetrics::Load(file);
        it = fonts_.emplace(file, loaded ? std::make_unique<OpenTypeMetrics>(std::move(*loaded)) : nullptr).first;
    }
    return it->second.get();
}

TextExtent RecordingCanvas::measure(std::u32string_view codePoints, const std::string& file, double emSize) {
    const OpenTypeMetrics* m = metricsOf(file);
    if (m == nullptr) return NominalExtent(codePoints.size(), emSize);
    const double scale = emSize / m->unitsPerEm();
    long units = 0;
    for (char32_t c : codePoints) units += m->advance(c).value_or(0);
    return {static_cast<int>(std::lround(units * scale)), static_cast<int>(std::lround(m->ascender() * scale)),
            static_cast<int>(std::lround(m->descender() * scale))};
}

}  // namespace notavera
