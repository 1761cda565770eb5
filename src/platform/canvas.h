// The device context the core draws through: music-font glyphs, text, lines, shapes, pens and raster operations
// in logical units (tenths of a millimetre at the current zoom, y up). Screen, printer, image, metafile and tests.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace notavera {

// A Windows colour value: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour RgbColour(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}
constexpr unsigned RedOf(Colour c) { return c & 0xFFu; }
constexpr unsigned GreenOf(Colour c) { return c >> 8 & 0xFFu; }
constexpr unsigned BlueOf(Colour c) { return c >> 16 & 0xFFu; }

// A point in logical units: x to the right, y upwards.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// An axis-aligned box in logical units; left <= right and bottom <= top once normalised.
struct Box {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// The pen styles of stored documents (dashed bars, curves and drawings keep these numbers).
enum class PenStyle : std::uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5 };

// The stored numbers 0..5 are the styles above; anything else draws solid rather than nothing.
constexpr PenStyle PenStyleFromStored(unsigned stored) {
    return stored <= 5 ? static_cast<PenStyle>(stored) : PenStyle::Solid;
}

// How a wide line ends: round caps reaching half the width beyond the end points, or cut square at them (stems
// and bar lines must end exactly on their staff lines).
enum class PenEnds : std::uint8_t { Round, Flat };

struct Pen {
    Colour colour = 0;
    int width = 0;  // logical units, not scaled by the zoom; 0 is the thinnest line the device draws (one pixel)
    PenStyle style = PenStyle::Solid;
    PenEnds ends = PenEnds::Round;
};

// Which parts of a self-crossing polygon are inside: every other crossing (alternate), or every part the outline
// winds around (winding; the drawing layer's filled polygons).
enum class FillRule : std::uint8_t { Alternate, Winding };

// How a closed shape is painted: an outline, a fill, or both. Neither draws nothing.
struct ShapeStyle {
    std::optional<Pen> outline;
    std::optional<Colour> fill;
    FillRule fillRule = FillRule::Alternate;  // polygons only
};

// How the pen and the fill mix with what is already on the device.
enum class RasterOp : std::uint8_t {
    Copy,    // the pen's colour replaces the pixels
    Xor,     // pixels XOR pen colour: drawing twice restores them (rubber bands)
    NotXor,  // NOT (pixels XOR pen colour): drawing twice restores them (the insertion cursor)
    Invert,  // NOT pixels, whatever the colour (the marked region)
};

// What the canvas draws on. Some rules differ by device: the printer has its own height correction, metafiles
// cannot measure text and keep only what lies in the export region, the screen alone shows markers.
enum class CanvasKind : std::uint8_t { Screen, Printer, Metafile, Image, Svg, Pdf, Recording };

// A SMuFL music font at one size. The core chooses it (face substitution, size conversion); the canvas draws.
struct GlyphFont {
    std::string family;  // the installed SMuFL family, e.g. "Bravura"
    std::string file;    // the OpenType file holding it, for canvases that load or embed the font
    double emSize = 0;   // the em in logical units (one em is four staff spaces)
    int escapement = 0;  // direction of the baseline in tenths of a degree, counter-clockwise
};

// A text font as documents name it. Canvases substitute installed faces for the stored names themselves,
// so a metafile can keep the document's own face name.
struct TextFont {
    std::string face;     // e.g. "Times New Roman"
    int height = 0;       // character height (the em, without internal leading) in logical units
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    int escapement = 0;   // direction of the baseline in tenths of a degree, counter-clockwise: 900 vertical
    int charset = 0;      // the Windows character set stored with the face (2 = symbol)
};

// The size of a string: its advance and the font's extent above and below the baseline, in logical units.
struct TextExtent {
    int width = 0;
    int ascent = 0;
    int descent = 0;
};

// A raster picture (the bitmaps of metafile pictures): rows from the top, each pixel 0xAARRGGBB with straight
// alpha. An image whose pixels do not number width × height is empty and draws nothing.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const {
        return width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height;
    }
};

// A high-level drawing call of the core's primitives, noted before the canvas calls it makes. Only the recording
// canvas keeps these; they give tests the system's own glyph codes and the page-unit geometry of each primitive.
struct DrawingNote {
    std::string_view op = {};            // "glyph", "glyphText", "vline", "band", "disc"
    int code = 0;                        // the system's glyph code as written ("glyph"), 0 otherwise
    std::string_view text = {};          // the system's codes of a "glyphText" string, one byte each
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // page units; unused ones stay 0
    int width = 0;                       // pen width, band thickness or disc radius in page units
    int fontHeight = 0;                  // the system's music-font height in logical units (glyph ops)
    bool centred = false;                // a "glyphText" centred on x1
    Colour colour = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual CanvasKind kind() const = 0;

    // The size of one device pixel in logical units (x, y). Lines drawn "one pixel" wide and the thickening of
    // dashed lines count in these.
    virtual double pixelWidth() const = 0;
    virtual double pixelHeight() const = 0;

    // The logical point shown at the device's bottom-left corner (the scroll position; the export region's
    // corner in a metafile).
    virtual void setWindowOrigin(Point origin) = 0;

    // Clipping in logical units; nullopt removes it. Drawing outside the clip box leaves the device unchanged.
    virtual void setClip(std::optional<Box> clip) = 0;

    virtual void setRasterOp(RasterOp op) = 0;

    // Music-font glyphs, written from left to right from the SMuFL origin (left end of the baseline) of the
    // first one, each advancing by its own width. Code points without a glyph draw nothing. A measure gives the
    // font's own ascent and descent whatever the string, so an empty string measures the font.
    virtual void drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) = 0;
    virtual TextExtent measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) = 0;

    // UTF-8 text with its baseline starting at `origin` and running along the font's escapement. With a
    // background colour the text's cell is filled first (opaque text); without one it is transparent.
    virtual void drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                          std::optional<Colour> background = std::nullopt) = 0;
    virtual TextExtent measureText(std::string_view utf8, const TextFont& font) = 0;

    virtual void drawLine(Point from, Point to, const Pen& pen) = 0;
    virtual void drawPolyline(std::span<const Point> points, const Pen& pen) = 0;
    // Cubic Bézier segments: a start point then three points per segment (1 + 3n points).
    virtual void drawBezier(std::span<const Point> points, const Pen& pen) = 0;
    // A closed polygon; the last point joins the first.
    virtual void drawPolygon(std::span<const Point> points, const ShapeStyle& style) = 0;
    virtual void drawRect(Box box, const ShapeStyle& style) = 0;
    virtual void drawEllipse(Box box, const ShapeStyle& style) = 0;
    // Part of the ellipse inscribed in `box`, counter-clockwise (as seen on the page, y up) from where the
    // radial towards `start` meets it to where the radial towards `end` meets it. Equal radials draw the whole
    // ellipse. The points need not lie on the ellipse.
    virtual void drawArc(Box box, Point start, Point end, const Pen& pen) = 0;
    // The image stretched over `box`, its top row along the box's top; transparent pixels leave the device as it
    // was.
    virtual void drawImage(Box box, const Image& image) = 0;

    // Called by the core's drawing primitives before they draw; canvases other than the recording canvas
    // ignore it.
    virtual void note(const DrawingNote&) {}
};

}  // namespace notavera
