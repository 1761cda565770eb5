// The Windows-metafile canvas: records every drawing call as a ".wmf" file with a placeable header, the file
// format other programs read when a score region is exported as a picture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "platform/canvas.h"

namespace notavera {

// Record functions and the GDI constants the writer uses, named as metafile readers know them.
namespace wmf {
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kHeaderWords = 9;

enum Function : std::uint16_t {
    Eof = 0x0000,
    SaveDc = 0x001E,
    SetBkColor = 0x0201,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetPolyFillMode = 0x0106,
    SetTextAlign = 0x012E,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    IntersectClipRect = 0x0416,
    Arc = 0x0817,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    RestoreDc = 0x0127,
    TextOut = 0x0521,
    Polygon = 0x0324,
    Polyline = 0x0325,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    StretchDib = 0x0F43,
};

constexpr std::uint16_t kMapModeAnisotropic = 8;
constexpr std::uint16_t kAlternate = 1, kWinding = 2;
constexpr std::uint16_t kTransparent = 1, kOpaque = 2;
constexpr std::uint16_t kTextAlignBaseline = 24;
constexpr std::uint16_t kBrushSolid = 0, kBrushNull = 1;
constexpr std::uint16_t kSymbolCharset = 2;
constexpr std::uint16_t kRopNot = 6, kRopXorPen = 7, kRopNotXorPen = 10, kRopCopyPen = 13;
constexpr std::size_t kFaceNameBytes = 32;
constexpr int kMaxPoints = 32767;  // point counts are 16-bit
constexpr std::uint32_t kSourceCopy = 0x00CC0020;   // the raster operation that copies a bitmap over the device
constexpr std::uint32_t kSourceAnd = 0x008800C6;    // a mask: its white keeps the device, its black clears it
constexpr std::uint32_t kSourcePaint = 0x00EE0086;  // a bitmap ORed into what its mask cleared
}  // namespace wmf

// Metafile coordinates are 16-bit. The picture is written from its own top-left corner, y downwards, with
// positive window extents: readers differ in how they treat a negative extent, so the canvas flips the page's
// upward y itself. Pictures larger than 32767 units are written at a coarser unit so that they still fit.
//
// Images become device-independent bitmaps, with a palette when they have few colours. A metafile bitmap has no
// transparency: an image whose pixels are partly more than half transparent is drawn as the usual pair, a mask
// that clears where the image is opaque and the image ORed into it; what shows is laid over white.
//
// A metafile cannot measure: measureText and measureGlyphs return zero extents. The page pass measures what it
// needs on the screen beforehand and replays those widths here.
//
// Music glyphs become text in the SMuFL family the glyph font names, with the symbol character set. Metafile
// text is 8-bit, so each code point is written as its low byte, the way symbol fonts address their glyphs;
// SMuFL's code points all lie in the Private Use Area (U+E000..U+F8FF), so the high byte carries nothing a
// reader could use. A reader draws the intended glyph when it maps the symbol byte into that area of the named
// font; others show the bytes in some font, at the right place and size.
class WmfCanvas final : public Canvas {
public:
    // A picture of width × height logical units, unitsPerInch of them making an inch of the printed picture
    // (254 for tenths of a millimetre at zoom 1/1). The window origin starts at (0, 0).
    WmfCanvas(int width, int height, double unitsPerInch = 254.0);

    // The whole file as it stands: placeable header, metafile header, the records so far and the end record.
    std::vector<std::uint8_t> fileBytes() const;
    // Writes fileBytes() to a temporary file beside `path`, then renames it over `path`. False on failure, when
    // `path` is left as it was.
    bool save(const std::filesystem::path& path) const;

    CanvasKind kind() const override { return CanvasKind::Metafile; }
    // A metafile has no pixels; its finest step is one logical unit.
    double pixelWidth() const override { return 1.0; }
    double pixelHeight() const override { return 1.0; }
    void setWindowOrigin(Point origin) override { origin_ = origin; }
    void setClip(std::optional<Box> clip) override;
    void setRasterOp(RasterOp op) override;

    void drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) override;
    TextExtent measureGlyphs(std::u32string_view, const GlyphFont&) override { return {}; }
    void drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                  std::optional<Colour> background = std::nullopt) override;
    TextExtent measureText(std::string_view, const TextFont&) override { return {}; }

    void drawLine(Point from, Point to, const Pen& pen) override;
    void drawPolyline(std::span<const Point> points, const Pen& pen) override;
    void drawBezier(std::span<const Point> points, const Pen& pen) override;
    void drawPolygon(std::span<const Point> points, const ShapeStyle& style) override;
    void drawRect(Box box, const ShapeStyle& style) override;
    void drawEllipse(Box box, const ShapeStyle& style) override;
    void drawArc(Box box, Point start, Point end, const Pen& pen) override;
    void drawImage(Box box, const Image& image) override;

private:
    // The description of one font record, shared by text and glyphs.
    struct FontRecord {
        std::string_view face;
        int height = 0;
        int weight = 400;
        bool italic = false;
        int escapement = 0;
        int charset = 0;
    };

    void record(wmf::Function function, std::span<const std::uint16_t> params);
    void record(wmf::Function function, std::initializer_list<std::uint16_t> params);
    std::uint16_t createObject(wmf::Function function, std::span<const std::uint16_t> params);
    void deleteObject(std::uint16_t index);
    std::uint16_t selectPen(const std::optional<Pen>& pen);
    std::uint16_t selectBrush(const std::optional<Colour>& fill);
    std::uint16_t selectFont(const FontRecord& font);
    void writeText(Point origin, std::string_view bytes, const FontRecord& font, Colour colour,
                   std::optional<Colour> background);
    void writePoints(wmf::Function function, std::span<const Point> points);
    void writeBoxRecord(wmf::Function function, Box box, const ShapeStyle& style);
    void writeBitmap(Box box, const Image& image, std::uint32_t rasterOp);

    std::uint16_t x(int logical) const;
    std::uint16_t y(int logical) const;
    std::uint16_t length(int logical) const;

    int width_;         // metafile units
    int height_;        // metafile units
    int unitsPerInch_;  // metafile units per inch, for the placeable header
    double scale_;      // metafile units per logical unit
    Point origin_;
    RasterOp rop_ = RasterOp::Copy;
    RasterOp ropAtSave_ = RasterOp::Copy;
    bool clipped_ = false;
    std::vector<std::uint16_t> words_;  // the records after the metafile header, without the end record
    std::vector<bool> liveObjects_;     // the object table: which indices hold an object now
    std::size_t maxObjects_ = 0;
    std::uint32_t maxRecordWords_ = 3;  // the end record
};

}  // namespace notavera
