// libwmf as a device layer of our own: its player walks the records and keeps the device context; the callbacks
// below turn each drawing call into canvas calls, mapped from the picture's frame into the target box.
#include "platform/wmf/libwmf_player.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "render/music_font.h"
#include "score/little_endian.h"

extern "C" {
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
}

namespace notavera {
namespace {

constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
constexpr std::size_t placeableBytes = 22;
constexpr double tenthsPerInch = 254.0;

// The rectangle of metafile logical units the picture shows: x0, y0 its first corner, w and h signed.
struct Frame {
    double x0 = 0, y0 = 0, w = 0, h = 0;
};

struct Placeable {
    Frame frame;
    int unitsPerInch = 0;
};

std::optional<Placeable> ReadPlaceable(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < placeableBytes || le::u32(bytes, 0) != placeableKey) return std::nullopt;
    const auto s16 = [&](std::size_t at) { return static_cast<double>(static_cast<std::int16_t>(le::u16(bytes, at))); };
    Placeable p;
    p.frame = {s16(6), s16(8), s16(10) - s16(6), s16(12) - s16(8)};
    p.unitsPerInch = le::u16(bytes, 14);
    if (p.frame.w == 0 || p.frame.h == 0) return std::nullopt;
    return p;
}

// libwmf sets aside room for the largest record the header announces before it reads any: a header announcing a
// record larger than the file itself is damaged, and the file is not read.
bool PlausibleHeader(std::span<const std::uint8_t> bytes) {
    const bool placeable = bytes.size() >= placeableBytes && le::u32(bytes, 0) == placeableKey;
    const std::size_t start = placeable ? placeableBytes : 0;
    constexpr std::size_t headerBytes = 18, maxRecordAt = 12;
    if (bytes.size() < start + headerBytes) return false;
    return std::uint64_t{le::u32(bytes, start + maxRecordAt)} * 2 <= bytes.size() - start;
}

// What the callbacks draw on, and how the picture's units reach it.
// A bitmap drawn as the mask of the next one: where it is white, the next one lets the page through.
struct Mask {
    Box box;
    Image image;
};

struct Device {
    Canvas* canvas = nullptr;
    Box target;
    std::optional<Frame> frame;  // from the placeable header; else the first window the records set
    std::optional<Mask> mask;
    bool drew = false;
};

constexpr U32 sourceAnd = 0x008800C6, sourcePaint = 0x00EE0086;
constexpr std::uint32_t whitePixel = 0xFFFFFFFFu;

// A mask no bitmap was painted into is drawn as it stands.
void DrawPendingMask(Device& device) {
    if (device.mask) device.canvas->drawImage(device.mask->box, device.mask->image);
    device.mask.reset();
}

Device& DeviceOf(wmfAPI* api) { return *static_cast<Device*>(api->device_data); }

// The device coordinates libwmf reports are the logical ones scaled by the pixel size; back to logical units.
struct Mapping {
    Device& device;
    const wmfDC& dc;

    const Frame& frame() {
        if (!device.frame)
            device.frame = Frame{static_cast<double>(dc.Window.Ox), static_cast<double>(dc.Window.Oy),
                                 static_cast<double>(dc.Window.width), static_cast<double>(dc.Window.height)};
        return *device.frame;
    }
    double logicalX(float x) const { return dc.pixel_width != 0 ? x / dc.pixel_width + dc.Window.Ox : x; }
    double logicalY(float y) const { return dc.pixel_height != 0 ? y / dc.pixel_height + dc.Window.Oy : y; }
    Point at(wmfD_Coord d) {
        const Frame& f = frame();
        const double u = f.w != 0 ? (logicalX(d.x) - f.x0) / f.w : 0;
        const double v = f.h != 0 ? (logicalY(d.y) - f.y0) / f.h : 0;
        const Box& t = device.target;
        return {static_cast<int>(std::lround(t.left + u * (t.right - t.left))),
                static_cast<int>(std::lround(t.top - v * (t.top - t.bottom)))};
    }
    // A length along x in device coordinates, in target units.
    double length(double deviceLength) {
        const Frame& f = frame();
        const double logical = dc.pixel_width != 0 ? deviceLength / std::fabs(dc.pixel_width) : deviceLength;
        return f.w != 0 ? logical * std::abs(device.target.right - device.target.left) / std::fabs(f.w) : 0;
    }
    Box box(wmfD_Coord a, wmfD_Coord b) {
        const Point p = at(a), q = at(b);
        return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
    }
};

Colour ColourOf(const wmfRGB& c) { return RgbColour(c.r, c.g, c.b); }

std::optional<Pen> PenOf(Mapping& m) {
    const wmfPen* p = m.dc.pen;
    if (p == nullptr) return Pen{};
    const unsigned style = p->lopnStyle & PS_STYLE_MASK;
    if (style == PS_NULL) return std::nullopt;
    Pen pen;
    pen.colour = ColourOf(p->lopnColor);
    pen.width = static_cast<int>(std::lround(m.length(p->width)));
    pen.style = style <= PS_DASHDOTDOT ? static_cast<PenStyle>(style) : PenStyle::Solid;
    pen.ends = (p->lopnStyle & PS_ENDCAP_MASK) == PS_ENDCAP_FLAT ? PenEnds::Flat : PenEnds::Round;
    return pen;
}

ShapeStyle StyleOf(Mapping& m) {
    ShapeStyle style;
    style.outline = PenOf(m);
    const wmfBrush* b = m.dc.brush;
    if (b != nullptr && b->lbStyle != BS_NULL) style.fill = ColourOf(b->lbColor);
    style.fillRule = m.dc.polyfillmode == WINDING ? FillRule::Winding : FillRule::Alternate;
    return style;
}

// Every call starts here: nothing is drawn for a call without its device context.
template <typename Call>
bool Ready(wmfAPI* api, Call* call) {
    return api != nullptr && api->device_data != nullptr && call != nullptr && call->dc != nullptr &&
           DeviceOf(api).canvas != nullptr;
}

void DrawLine(wmfAPI* api, wmfDrawLine_t* l) {
    if (!Ready(api, l)) return;
    Mapping m{DeviceOf(api), *l->dc};
    if (const std::optional<Pen> pen = PenOf(m)) m.device.canvas->drawLine(m.at(l->from), m.at(l->to), *pen);
}

std::vector<Point> PointsOf(Mapping& m, const wmfD_Coord* points, std::size_t count) {
    std::vector<Point> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.push_back(m.at(points[i]));
    return out;
}

void PolyLine(wmfAPI* api, wmfPolyLine_t* l) {
    if (!Ready(api, l) || l->pt == nullptr) return;
    Mapping m{DeviceOf(api), *l->dc};
    if (const std::optional<Pen> pen = PenOf(m)) m.device.canvas->drawPolyline(PointsOf(m, l->pt, l->count), *pen);
}

void Polygon(wmfAPI* api, wmfPolyLine_t* l) {
    if (!Ready(api, l) || l->pt == nullptr) return;
    Mapping m{DeviceOf(api), *l->dc};
    m.device.canvas->drawPolygon(PointsOf(m, l->pt, l->count), StyleOf(m));
}

void PolyPolygon(wmfAPI* api, wmfPolyPoly_t* p) {
    if (!Ready(api, p) || p->pt == nullptr || p->count == nullptr) return;
    Mapping m{DeviceOf(api), *p->dc};
    for (std::size_t i = 0; i < p->npoly; ++i)
        if (p->pt[i] != nullptr) m.device.canvas->drawPolygon(PointsOf(m, p->pt[i], p->count[i]), StyleOf(m));
}

void Rectangle(wmfAPI* api, wmfDrawRectangle_t* r) {
    if (!Ready(api, r)) return;
    Mapping m{DeviceOf(api), *r->dc};
    m.device.canvas->drawRect(m.box(r->TL, r->BR), StyleOf(m));
}

void Ellipse(wmfAPI* api, wmfDrawArc_t* a) {
    if (!Ready(api, a)) return;
    Mapping m{DeviceOf(api), *a->dc};
    m.device.canvas->drawEllipse(m.box(a->TL, a->BR), StyleOf(m));
}

// libwmf gives an arc's start and end relative to the ellipse's centre.
void Arc(wmfAPI* api, wmfDrawArc_t* a) {
    if (!Ready(api, a)) return;
    Mapping m{DeviceOf(api), *a->dc};
    const std::optional<Pen> pen = PenOf(m);
    if (!pen) return;
    const wmfD_Coord centre{(a->TL.x + a->BR.x) / 2, (a->TL.y + a->BR.y) / 2};
    const Point start = m.at({centre.x + a->start.x, centre.y + a->start.y});
    const Point end = m.at({centre.x + a->end.x, centre.y + a->end.y});
    m.device.canvas->drawArc(m.box(a->TL, a->BR), start, end, *pen);
}

void RegionPaint(wmfAPI* api, wmfPolyRectangle_t* r) {
    if (!Ready(api, r) || r->TL == nullptr || r->BR == nullptr) return;
    Mapping m{DeviceOf(api), *r->dc};
    const wmfBrush* b = m.dc.brush;
    if (b == nullptr || b->lbStyle == BS_NULL) return;
    for (unsigned i = 0; i < r->count; ++i)
        m.device.canvas->drawRect(m.box(r->TL[i], r->BR[i]), ShapeStyle{std::nullopt, ColourOf(b->lbColor)});
}

// A bitmap record: libwmf has read the bitmap (its rows counted from the bottom) and gives the top-left corner of
// its destination and the device size of one of its pixels. A destination mirrored by the picture's mapping
// mirrors the image.
void Bitmap(wmfAPI* api, wmfBMP_Draw_t* b) {
    if (!Ready(api, b) || b->bmp.data == nullptr || b->crop.w == 0 || b->crop.h == 0) return;
    Mapping m{DeviceOf(api), *b->dc};
    const double sx = m.dc.pixel_width < 0 ? -1.0 : 1.0, sy = m.dc.pixel_height < 0 ? -1.0 : 1.0;
    const wmfD_Coord end{static_cast<float>(b->pt.x + b->crop.w * b->pixel_width * sx),
                         static_cast<float>(b->pt.y + b->crop.h * b->pixel_height * sy)};
    const Point topLeft = m.at(b->pt), bottomRight = m.at(end);
    const bool mirrored = topLeft.x > bottomRight.x, flipped = topLeft.y < bottomRight.y;
    Image image{b->crop.w, b->crop.h, std::vector<std::uint32_t>(std::size_t{b->crop.w} * b->crop.h)};
    for (unsigned row = 0; row < b->crop.h; ++row)
        for (unsigned column = 0; column < b->crop.w; ++column) {
            wmfRGB rgb{};
            if (wmf_ipa_bmp_color(api, &b->bmp, &rgb, b->crop.x + column, b->crop.y + row) < 0) continue;
            const unsigned x = mirrored ? b->crop.w - 1 - column : column;
            const unsigned y = flipped ? row : b->crop.h - 1 - row;
            image.pixels[std::size_t{y} * b->crop.w + x] = 0xFF000000u | rgb.r << 16 | rgb.g << 8 | rgb.b;
        }
    const Box box = m.box(b->pt, end);
    if (b->type == sourceAnd) {
        DrawPendingMask(m.device);
        m.device.mask = Mask{box, std::move(image)};
        return;
    }
    const std::optional<Mask>& mask = m.device.mask;
    if (b->type == sourcePaint && mask && mask->box == box && mask->image.pixels.size() == image.pixels.size()) {
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            if (mask->image.pixels[i] == whitePixel) image.pixels[i] = 0;
        m.device.mask.reset();
    }
    DrawPendingMask(m.device);
    m.device.canvas->drawImage(box, image);
}

// libwmf sizes a bitmap's palette and pixels from its header alone, so a damaged header could ask for gigabytes.
// A bitmap is read only when its header is one Windows writes and its palette and pixels fit in the record:
// uncompressed rows must be there in full, and run-length pixels (which can skip whole rows in a few bytes) stay
// within a fixed bound.
bool PlausibleBitmap(const wmfBMP_Read_t& r) {
    if (r.buffer == nullptr || r.length < 12) return false;
    const std::span<const std::uint8_t> b(r.buffer, static_cast<std::size_t>(r.length));
    const std::uint32_t headerBytes = le::u32(b, 0);
    const bool core = headerBytes == 12;
    if (!core && (headerBytes < 40 || headerBytes > b.size())) return false;
    const std::int64_t width = core ? le::u16(b, 4) : static_cast<std::int32_t>(le::u32(b, 4));
    const std::int64_t height = core ? le::u16(b, 6) : static_cast<std::int32_t>(le::u32(b, 8));
    const unsigned bits = le::u16(b, core ? 10 : 14);
    const std::uint32_t compression = core ? 0 : le::u32(b, 16);
    const std::int64_t coloursUsed = core ? 0 : le::u32(b, 32);
    constexpr std::int64_t side = 0xFFFF, runPixels = std::int64_t{1} << 24;
    // libwmf reads rows from the bottom only: a negative height (rows from the top) is not drawn either way.
    if (width <= 0 || height <= 0 || width > side || height > side) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    const std::int64_t colours = coloursUsed != 0 ? coloursUsed : bits <= 8 ? std::int64_t{1} << bits : 0;
    const std::int64_t paletteBytes = colours * (core ? 3 : 4);
    constexpr std::uint32_t rle8 = 1, rle4 = 2;
    const bool runs = compression == rle8 || compression == rle4;
    if (runs && width * height > runPixels) return false;
    const std::int64_t pixelBytes = runs ? 0 : (width * bits + 31) / 32 * 4 * height;
    return headerBytes + paletteBytes + pixelBytes <= r.length;
}

void ReadBitmap(wmfAPI* api, wmfBMP_Read_t* r) {
    if (r != nullptr && PlausibleBitmap(*r)) wmf_ipa_bmp_read(api, r);
}

// Code page 1252 bytes as UTF-8.
std::string Utf8Of(const char* bytes) {
    static constexpr char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::string out;
    for (const char* p = bytes; *p != 0; ++p) {
        const auto b = static_cast<unsigned char>(*p);
        const char32_t c = b >= 0x80 && b < 0xA0 ? high[b - 0x80] : b;
        if (c < 0x80) out += static_cast<char>(c);
        else if (c < 0x800) out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        else
            out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                    static_cast<char>(0x80 | (c & 0x3F))};
    }
    return out;
}

constexpr unsigned symbolCharset = 2;

// Our metafiles write music glyphs as the low byte of their SMuFL code point in a symbol font of the SMuFL
// family: the code point is found again among the glyphs the system writes (the first one with that low byte).
std::optional<std::u32string> MusicCodePoints(const wmfFont& font, const char* bytes, const MusicFont*& music) {
    if (font.lfCharSet != symbolCharset || font.lfFaceName == nullptr) return std::nullopt;
    const std::string_view face = font.lfFaceName;
    if (face != "Bravura" && face != "Leland") return std::nullopt;
    music = MusicFont::Installed(FamilyForFace(face));
    if (music == nullptr) return std::nullopt;
    std::array<char32_t, 256> byLowByte{};
    for (const bool alternate : {true, false})
        for (int code = 255; code >= 0; --code)
            if (const MusicGlyph* g = music->glyph(code, alternate)) byLowByte[g->codePoint & 0xFFu] = g->codePoint;
    std::u32string out;
    for (const char* p = bytes; *p != 0; ++p) {
        const auto low = static_cast<unsigned char>(*p);
        out += byLowByte[low] != 0 ? byLowByte[low] : static_cast<char32_t>(0xE000u | low);
    }
    return out;
}

void Text(wmfAPI* api, wmfDrawText_t* t) {
    if (!Ready(api, t) || t->str == nullptr || t->dc->font == nullptr) return;
    Mapping m{DeviceOf(api), *t->dc};
    const wmfFont& f = *t->dc->font;
    const Point origin = m.at(t->pt);
    // The font's own height, in the picture's units (negative: the em without the internal leading).
    const double em = std::abs(static_cast<std::int16_t>(f.lfHeight));
    const Frame& frame = m.frame();
    const int height = frame.w != 0 ? static_cast<int>(std::lround(
                                          em * std::abs(m.device.target.right - m.device.target.left) / std::fabs(frame.w)))
                                    : 0;
    const Colour colour = ColourOf(t->dc->textcolor);
    const MusicFont* music = nullptr;
    if (const std::optional<std::u32string> glyphs = MusicCodePoints(f, t->str, music)) {
        GlyphFont font = music->atHeight(0, f.lfEscapement);
        font.emSize = height;
        m.device.canvas->drawGlyphs(origin, *glyphs, font, colour);
        return;
    }
    TextFont font;
    font.face = f.lfFaceName != nullptr ? f.lfFaceName : "";
    font.height = height;
    font.weight = f.lfWeight;
    font.italic = f.lfItalic != 0;
    font.escapement = f.lfEscapement;
    font.charset = f.lfCharSet;
    const std::optional<Colour> background =
        t->dc->bgmode == OPAQUE ? std::optional<Colour>(ColourOf(t->dc->bgcolor)) : std::nullopt;
    m.device.canvas->drawText(origin, Utf8Of(t->str), font, colour, background);
}

// The callbacks libwmf needs that draw nothing here.
void Nothing(wmfAPI*) {}
template <typename Call>
void Ignore(wmfAPI*, Call*) {}

float TextWidth(wmfAPI*, wmfFont*, char* text) {
    // Only the player's estimate of a text's box uses this: an average character of half the height.
    return text == nullptr ? 0.0f : 0.5f * static_cast<float>(std::strlen(text));
}
void MapFont(wmfAPI*, wmfFont*) {}

void Initialise(wmfAPI* api) {
    auto* functions = static_cast<wmfFunctionReference*>(wmf_malloc(api, sizeof(wmfFunctionReference)));
    auto* fonts = static_cast<wmfFontData*>(wmf_malloc(api, sizeof(wmfFontData)));
    if (functions == nullptr || fonts == nullptr) {
        api->err = wmf_E_InsMem;
        return;
    }
    *functions = {};
    functions->device_open = Nothing;
    functions->device_close = Nothing;
    functions->device_begin = Nothing;
    functions->device_end = Nothing;
    functions->flood_interior = Ignore<wmfFlood_t>;
    functions->flood_exterior = Ignore<wmfFlood_t>;
    functions->draw_pixel = Ignore<wmfDrawPixel_t>;
    functions->draw_pie = Ellipse;
    functions->draw_chord = Ellipse;
    functions->draw_arc = Arc;
    functions->draw_ellipse = Ellipse;
    functions->draw_line = DrawLine;
    functions->poly_line = PolyLine;
    functions->draw_polygon = Polygon;
    functions->draw_polypolygon = PolyPolygon;
    functions->draw_rectangle = Rectangle;
    functions->rop_draw = Ignore<wmfROP_Draw_t>;
    functions->bmp_draw = Bitmap;
    functions->bmp_read = ReadBitmap;
    functions->bmp_free = wmf_ipa_bmp_free;
    functions->draw_text = Text;
    functions->udata_init = Ignore<wmfUserData_t>;
    functions->udata_copy = Ignore<wmfUserData_t>;
    functions->udata_set = Ignore<wmfUserData_t>;
    functions->udata_free = Ignore<wmfUserData_t>;
    functions->region_frame = Ignore<wmfPolyRectangle_t>;
    functions->region_paint = RegionPaint;
    functions->region_clip = Ignore<wmfPolyRectangle_t>;
    api->function_reference = functions;
    *fonts = {};
    fonts->map = MapFont;
    fonts->stringwidth = TextWidth;
    api->font_data = fonts;
}

// One reading of the bytes: libwmf's state lives from opening to closing.
class Session {
public:
    explicit Session(std::span<const std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {
        wmfAPI_Options options{};
        options.function = Initialise;
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (!PlausibleHeader(bytes) || wmf_lite_create(&api_, flags, &options) != wmf_E_None) {
            api_ = nullptr;
            return;
        }
        api_->device_data = &device_;
        if (wmf_mem_open(api_, bytes_.data(), static_cast<long>(bytes_.size())) != wmf_E_None) return;
        opened_ = true;
        scanned_ = wmf_scan(api_, 0, &bounds_) == wmf_E_None;
    }
    ~Session() {
        if (api_ == nullptr) return;
        if (opened_) wmf_mem_close(api_);
        api_->device_data = nullptr;
        wmf_lite_destroy(api_);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool readable() const { return scanned_; }
    Device& device() { return device_; }
    bool play() { return wmf_play(api_, 0, &bounds_) == wmf_E_None; }
    // The size the player found, in inches, when the file has no placeable header.
    std::optional<MetafileSize> size() {
        float width = 0, height = 0;
        if (wmf_size(api_, &width, &height) != wmf_E_None || width <= 0 || height <= 0) return std::nullopt;
        return MetafileSize{static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height))};
    }

private:
    std::vector<unsigned char> bytes_;
    wmfAPI* api_ = nullptr;
    Device device_;
    wmfD_Rect bounds_{};
    bool opened_ = false;
    bool scanned_ = false;
};

class Player final : public MetafilePlayer {
public:
    std::optional<MetafileSize> measure(std::span<const std::uint8_t> metafile) const override {
        Session session(metafile);
        if (!session.readable()) return std::nullopt;
        if (const std::optional<Placeable> p = ReadPlaceable(metafile); p && p->unitsPerInch > 0)
            return MetafileSize{static_cast<int>(std::lround(std::fabs(p->frame.w) * tenthsPerInch / p->unitsPerInch)),
                                static_cast<int>(std::lround(std::fabs(p->frame.h) * tenthsPerInch / p->unitsPerInch))};
        return session.size();
    }

    bool play(Canvas& canvas, Box target, std::span<const std::uint8_t> metafile) const override {
        Session session(metafile);
        if (!session.readable()) return false;
        Device& device = session.device();
        device.canvas = &canvas;
        device.target = target;
        if (const std::optional<Placeable> p = ReadPlaceable(metafile)) device.frame = p->frame;
        const bool played = session.play();
        DrawPendingMask(device);
        return played;
    }
};

}  // namespace

const MetafilePlayer& LibwmfPlayer() {
    static const Player player;
    return player;
}

}  // namespace notavera
