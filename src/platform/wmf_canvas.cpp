// The Windows-metafile canvas: records every drawing call as a ".wmf" file with a placeable header, the file
// format other programs read when a score region is exported as a picture.
#include "platform/wmf_canvas.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <system_error>

#include "platform/ansi_text.h"
#include "score/binary_file.h"
#include "score/little_endian.h"

namespace notavera {
namespace {

constexpr double kInt16Max = 32767.0;

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::clamp(value, -32768, 32767)));
}

int Rounded(double value) { return static_cast<int>(std::lround(std::clamp(value, -32768.0, 32767.0))); }

std::uint16_t Low(std::uint32_t v) { return static_cast<std::uint16_t>(v & 0xFFFFu); }
std::uint16_t High(std::uint32_t v) { return static_cast<std::uint16_t>(v >> 16); }

std::uint16_t RopCode(RasterOp op) {
    switch (op) {
        case RasterOp::Xor: return wmf::kRopXorPen;
        case RasterOp::NotXor: return wmf::kRopNotXorPen;
        case RasterOp::Invert: return wmf::kRopNot;
        case RasterOp::Copy: break;
    }
    return wmf::kRopCopyPen;
}

// Packs bytes two to a word, little-endian, padding an odd count with a zero byte.
void AppendBytes(std::vector<std::uint16_t>& words, std::string_view bytes, std::size_t padTo = 0) {
    std::string padded(bytes);
    padded.resize(std::max(padTo, padded.size() + (padded.size() & 1u)), '\0');
    for (std::size_t i = 0; i < padded.size(); i += 2) {
        words.push_back(static_cast<std::uint16_t>(static_cast<std::uint8_t>(padded[i]) |
                                                   static_cast<std::uint8_t>(padded[i + 1]) << 8));
    }
}

// A cubic segment as a run of points; the step count follows the control polygon's length so that chords stay
// within about a logical unit of the curve at any size.
void Flatten(Point p0, Point p1, Point p2, Point p3, std::vector<Point>& out) {
    const double span = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                        std::hypot(p3.x - p2.x, p3.y - p2.y);
    const int steps = std::clamp(static_cast<int>(span / 8.0), 4, 64);
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps, u = 1.0 - t;
        const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
        out.push_back({static_cast<int>(std::lround(a * p0.x + b * p1.x + c * p2.x + d * p3.x)),
                       static_cast<int>(std::lround(a * p0.y + b * p1.y + c * p2.y + d * p3.y))});
    }
}

constexpr std::uint32_t kBitmapInfoBytes = 40;
constexpr std::size_t kMaxPaletteColours = 256;

void PutU32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(v >> shift & 0xFFu));
}

// A pixel over white, as 0x00RRGGBB.
std::uint32_t OverWhite(std::uint32_t argb) {
    const std::uint32_t alpha = argb >> 24;
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::uint32_t c = argb >> shift & 0xFFu;
        out |= ((c * alpha + 255u * (255u - alpha) + 127u) / 255u) << shift;
    }
    return out;
}

constexpr std::uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

bool CutOut(std::uint32_t argb) { return argb >> 24 < 0x80; }

// The image as a device-independent bitmap: its header, a palette when its colours are few enough for 1, 4 or 8
// bits a pixel, then the rows from the bottom, each padded to a whole number of 32-bit words.
std::string DeviceIndependentBitmap(const Image& image) {
    std::vector<std::uint32_t> colours(image.pixels.size());
    std::transform(image.pixels.begin(), image.pixels.end(), colours.begin(), OverWhite);
    std::vector<std::uint32_t> palette;
    for (const std::uint32_t c : colours) {
        if (palette.size() > kMaxPaletteColours) break;
        if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    }
    const std::size_t count = palette.size();
    const unsigned bits = count <= 2 ? 1 : count <= 16 ? 4 : count <= kMaxPaletteColours ? 8 : 24;
    if (bits == 24) palette.clear();
    const auto width = static_cast<std::uint32_t>(image.width), height = static_cast<std::uint32_t>(image.height);
    const std::uint32_t rowBytes = (width * bits + 31) / 32 * 4;
    std::string dib;
    for (const std::uint32_t v : {kBitmapInfoBytes, width, height}) PutU32(dib, v);
    PutU32(dib, 1u | bits << 16);  // planes, bits per pixel
    for (const std::uint32_t v : {0u, rowBytes * height, 0u, 0u, static_cast<std::uint32_t>(palette.size()), 0u})
        PutU32(dib, v);  // uncompressed, image size, resolution unknown, colours used, all important
    for (const std::uint32_t c : palette) PutU32(dib, c);  // blue, green, red, reserved: 0x00RRGGBB as stored
    for (std::uint32_t row = height; row-- > 0;) {
        std::string line(rowBytes, '\0');
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t c = colours[row * width + x];
            if (bits == 24) {
                for (int k = 0; k < 3; ++k) line[3 * x + k] = static_cast<char>(c >> (8 * k) & 0xFFu);
                continue;
            }
            const auto index =
                static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
            const std::uint32_t bit = x * bits;
            line[bit / 8] = static_cast<char>(static_cast<std::uint8_t>(line[bit / 8]) | index << (8 - bits - bit % 8));
        }
        dib += line;
    }
    return dib;
}

}  // namespace

WmfCanvas::WmfCanvas(int width, int height, double unitsPerInch) {
    const double largest = std::max({1.0, static_cast<double>(std::abs(width)), static_cast<double>(std::abs(height))});
    const double inch = std::clamp(unitsPerInch, 1.0, 65535.0);
    // The header's inch is a whole number: the scale is derived from it so that the printed size stays exact.
    unitsPerInch_ = std::max(1, static_cast<int>(std::floor(inch * std::min(1.0, kInt16Max / largest))));
    scale_ = unitsPerInch_ / inch;
    // An empty extent would make readers divide by zero: the picture is at least one unit each way.
    width_ = std::clamp(static_cast<int>(std::lround(std::abs(width) * scale_)), 1, 32767);
    height_ = std::clamp(static_cast<int>(std::lround(std::abs(height) * scale_)), 1, 32767);

    record(wmf::SetMapMode, {wmf::kMapModeAnisotropic});
    record(wmf::SetWindowOrg, {0, 0});
    record(wmf::SetWindowExt, {Word(height_), Word(width_)});
}

std::uint16_t WmfCanvas::x(int logical) const { return Word(Rounded((logical - origin_.x) * scale_)); }
std::uint16_t WmfCanvas::y(int logical) const { return Word(Rounded(height_ - (logical - origin_.y) * scale_)); }
std::uint16_t WmfCanvas::length(int logical) const { return Word(Rounded(logical * scale_)); }

void WmfCanvas::record(wmf::Function function, std::span<const std::uint16_t> params) {
    const auto size = static_cast<std::uint32_t>(3 + params.size());
    words_.push_back(Low(size));
    words_.push_back(High(size));
    words_.push_back(function);
    words_.insert(words_.end(), params.begin(), params.end());
    maxRecordWords_ = std::max(maxRecordWords_, size);
}

void WmfCanvas::record(wmf::Function function, std::initializer_list<std::uint16_t> params) {
    record(function, std::span<const std::uint16_t>(params.begin(), params.size()));
}

// Objects take the lowest free slot of the reader's object table, as the players assign them.
std::uint16_t WmfCanvas::createObject(wmf::Function function, std::span<const std::uint16_t> params) {
    record(function, params);
    auto free = std::find(liveObjects_.begin(), liveObjects_.end(), false);
    if (free == liveObjects_.end()) free = liveObjects_.insert(free, false);
    *free = true;
    const auto index = static_cast<std::uint16_t>(free - liveObjects_.begin());
    maxObjects_ = std::max<std::size_t>(maxObjects_, std::count(liveObjects_.begin(), liveObjects_.end(), true));
    record(wmf::SelectObject, {index});
    return index;
}

void WmfCanvas::deleteObject(std::uint16_t index) {
    record(wmf::DeleteObject, {index});
    liveObjects_[index] = false;
}

std::uint16_t WmfCanvas::selectPen(const std::optional<Pen>& pen) {
    const PenStyle style = pen ? pen->style : PenStyle::Null;
    const Colour colour = pen ? pen->colour : 0;
    const std::uint16_t width = pen ? length(std::max(0, pen->width)) : 0;
    // PS_ENDCAP_FLAT (0x200) makes stems and bar lines stop on their end points, as on the screen.
    const std::uint16_t ends = pen && pen->ends == PenEnds::Flat ? 0x0200 : 0;
    const std::uint16_t params[] = {static_cast<std::uint16_t>(static_cast<std::uint16_t>(style) | ends), width, 0,
                                    Low(colour), High(colour)};
    return createObject(wmf::CreatePenIndirect, params);
}

std::uint16_t WmfCanvas::selectBrush(const std::optional<Colour>& fill) {
    const Colour colour = fill.value_or(0);
    const std::uint16_t params[] = {fill ? wmf::kBrushSolid : wmf::kBrushNull, Low(colour), High(colour), 0};
    return createObject(wmf::CreateBrushIndirect, params);
}

std::uint16_t WmfCanvas::selectFont(const FontRecord& font) {
    std::vector<std::uint16_t> params = {
        Word(-Rounded(font.height * scale_)),  // negative: the em height, without internal leading
        0,
        Word(font.escapement),
        Word(font.escapement),
        Word(font.weight),
        static_cast<std::uint16_t>(font.italic ? 1 : 0),  // italic, then underline
        static_cast<std::uint16_t>((font.charset & 0xFF) << 8),  // strike-out, then character set
        0,                                                // output and clip precision
        0,                                                // quality, pitch and family
    };
    AppendBytes(params, font.face.substr(0, wmf::kFaceNameBytes - 1), wmf::kFaceNameBytes);
    return createObject(wmf::CreateFontIndirect, params);
}

void WmfCanvas::setRasterOp(RasterOp op) {
    if (op == rop_) return;
    rop_ = op;
    record(wmf::SetRop2, {RopCode(op)});
}

// Each clip box is its own saved state, so removing or replacing it restores the unclipped device; the raster
// operation set meanwhile is written again, since the restore takes it back too.
void WmfCanvas::setClip(std::optional<Box> clip) {
    if (clipped_) {
        record(wmf::RestoreDc, {Word(-1)});
        clipped_ = false;
        if (rop_ != ropAtSave_) record(wmf::SetRop2, {RopCode(rop_)});
    }
    if (!clip) return;
    record(wmf::SaveDc, {});
    ropAtSave_ = rop_;
    clipped_ = true;
    const Box b = *clip;
    // The right and bottom edges of a clip rectangle are outside it; one more unit keeps the box's own edges.
    record(wmf::IntersectClipRect, {Word(static_cast<std::int16_t>(y(std::min(b.bottom, b.top))) + 1),
                                    Word(static_cast<std::int16_t>(x(std::max(b.left, b.right))) + 1),
                                    y(std::max(b.bottom, b.top)), x(std::min(b.left, b.right))});
}

void WmfCanvas::writeText(Point origin, std::string_view bytes, const FontRecord& font, Colour colour,
                          std::optional<Colour> background) {
    if (bytes.empty()) return;
    const std::uint16_t object = selectFont(font);
    // Written with every string: some readers forget the alignment across a saved and restored state.
    record(wmf::SetTextAlign, {wmf::kTextAlignBaseline});
    record(wmf::SetTextColor, {Low(colour), High(colour)});
    if (background) record(wmf::SetBkColor, {Low(*background), High(*background)});
    record(wmf::SetBkMode, {background ? wmf::kOpaque : wmf::kTransparent});
    const std::string_view text = bytes.substr(0, 32767);
    std::vector<std::uint16_t> params = {static_cast<std::uint16_t>(text.size())};
    AppendBytes(params, text);
    params.push_back(y(origin.y));
    params.push_back(x(origin.x));
    record(wmf::TextOut, params);
    deleteObject(object);
}

void WmfCanvas::drawGlyphs(Point origin, std::u32string_view codePoints, const GlyphFont& font, Colour colour) {
    std::string bytes;
    for (char32_t c : codePoints) bytes.push_back(static_cast<char>(c & 0xFFu));
    const FontRecord record{font.family, static_cast<int>(std::lround(font.emSize)), 400, false, font.escapement,
                            wmf::kSymbolCharset};
    writeText(origin, bytes, record, colour, std::nullopt);
}

void WmfCanvas::drawText(Point origin, std::string_view utf8, const TextFont& font, Colour colour,
                         std::optional<Colour> background) {
    const FontRecord record{font.face, font.height, font.weight, font.italic, font.escapement, font.charset};
    writeText(origin, Utf8ToAnsi(utf8), record, colour, background);
}

void WmfCanvas::drawLine(Point from, Point to, const Pen& pen) {
    const std::uint16_t object = selectPen(pen);
    record(wmf::MoveTo, {y(from.y), x(from.x)});
    record(wmf::LineTo, {y(to.y), x(to.x)});
    deleteObject(object);
}

void WmfCanvas::writePoints(wmf::Function function, std::span<const Point> points) {
    std::vector<std::uint16_t> params = {static_cast<std::uint16_t>(points.size())};
    for (const Point& p : points) {
        params.push_back(x(p.x));
        params.push_back(y(p.y));
    }
    record(function, params);
}

// A polyline longer than the record's 16-bit count continues in further records from its last point.
void WmfCanvas::drawPolyline(std::span<const Point> points, const Pen& pen) {
    if (points.size() < 2) return;
    const std::uint16_t object = selectPen(pen);
    for (std::size_t start = 0; start + 1 < points.size(); start += wmf::kMaxPoints - 1) {
        const std::size_t count = std::min<std::size_t>(wmf::kMaxPoints, points.size() - start);
        writePoints(wmf::Polyline, points.subspan(start, count));
    }
    deleteObject(object);
}

// The format has no curves: each cubic segment is written as a run of short lines.
void WmfCanvas::drawBezier(std::span<const Point> points, const Pen& pen) {
    if (points.size() < 4) return;
    std::vector<Point> line = {points[0]};
    for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
        Flatten(line.back(), points[i], points[i + 1], points[i + 2], line);
    }
    drawPolyline(line, pen);
}

// A polygon keeps at most the 32767 points a record can count.
void WmfCanvas::drawPolygon(std::span<const Point> points, const ShapeStyle& style) {
    if (points.size() < 2 || (!style.outline && !style.fill)) return;
    const std::uint16_t pen = selectPen(style.outline);
    const std::uint16_t brush = selectBrush(style.fill);
    const bool winding = style.fillRule == FillRule::Winding && style.fill;
    if (winding) record(wmf::SetPolyFillMode, {wmf::kWinding});
    writePoints(wmf::Polygon, points.first(std::min<std::size_t>(points.size(), wmf::kMaxPoints)));
    if (winding) record(wmf::SetPolyFillMode, {wmf::kAlternate});
    deleteObject(pen);
    deleteObject(brush);
}

void WmfCanvas::writeBoxRecord(wmf::Function function, Box box, const ShapeStyle& style) {
    if (!style.outline && !style.fill) return;
    const std::uint16_t pen = selectPen(style.outline);
    const std::uint16_t brush = selectBrush(style.fill);
    record(function, {y(std::min(box.bottom, box.top)), x(std::max(box.left, box.right)),
                      y(std::max(box.bottom, box.top)), x(std::min(box.left, box.right))});
    deleteObject(pen);
    deleteObject(brush);
}

void WmfCanvas::drawRect(Box box, const ShapeStyle& style) { writeBoxRecord(wmf::Rectangle, box, style); }

void WmfCanvas::drawEllipse(Box box, const ShapeStyle& style) { writeBoxRecord(wmf::Ellipse, box, style); }

// Readers draw arcs counter-clockwise as seen, which is counter-clockwise on the page after the y flip.
void WmfCanvas::drawArc(Box box, Point start, Point end, const Pen& pen) {
    const std::uint16_t object = selectPen(pen);
    record(wmf::Arc, {y(end.y), x(end.x), y(start.y), x(start.x), y(std::min(box.bottom, box.top)),
                      x(std::max(box.left, box.right)), y(std::max(box.bottom, box.top)),
                      x(std::min(box.left, box.right))});
    deleteObject(object);
}

void WmfCanvas::drawImage(Box box, const Image& image) {
    if (image.empty() || image.width > 32767 || image.height > 32767) return;
    if (std::none_of(image.pixels.begin(), image.pixels.end(), CutOut)) {
        writeBitmap(box, image, wmf::kSourceCopy);
        return;
    }
    Image mask = image, painted = image;
    std::transform(image.pixels.begin(), image.pixels.end(), mask.pixels.begin(),
                   [](std::uint32_t argb) { return CutOut(argb) ? kWhite : kBlack; });
    std::transform(image.pixels.begin(), image.pixels.end(), painted.pixels.begin(),
                   [](std::uint32_t argb) { return CutOut(argb) ? kBlack : argb; });
    writeBitmap(box, mask, wmf::kSourceAnd);
    writeBitmap(box, painted, wmf::kSourcePaint);
}

void WmfCanvas::writeBitmap(Box box, const Image& image, std::uint32_t rasterOp) {
    std::vector<std::uint16_t> params = {Low(rasterOp), High(rasterOp),
                                         0,  // the palette holds colours
                                         Word(image.height), Word(image.width), 0, 0,
                                         length(std::abs(box.top - box.bottom)), length(std::abs(box.right - box.left)),
                                         y(std::max(box.bottom, box.top)), x(std::min(box.left, box.right))};
    AppendBytes(params, DeviceIndependentBitmap(image));
    record(wmf::StretchDib, params);
}

std::vector<std::uint8_t> WmfCanvas::fileBytes() const {
    std::vector<std::uint16_t> words;
    // Placeable header: key, handle, bounding box, units per inch, reserved, checksum of the ten words before.
    words.push_back(Low(wmf::kPlaceableKey));
    words.push_back(High(wmf::kPlaceableKey));
    words.insert(words.end(), {0, 0, 0, Word(width_), Word(height_), static_cast<std::uint16_t>(unitsPerInch_), 0, 0});
    std::uint16_t checksum = 0;
    for (std::uint16_t w : words) checksum ^= w;
    words.push_back(checksum);

    const auto totalWords = static_cast<std::uint32_t>(wmf::kHeaderWords + words_.size() + 3);
    words.insert(words.end(), {1, wmf::kHeaderWords, 0x0300, Low(totalWords), High(totalWords),
                               static_cast<std::uint16_t>(maxObjects_), Low(maxRecordWords_),
                               High(maxRecordWords_), 0});
    words.insert(words.end(), words_.begin(), words_.end());
    words.insert(words.end(), {3, 0, wmf::Eof});

    std::vector<std::uint8_t> bytes(words.size() * 2);
    for (std::size_t i = 0; i < words.size(); ++i) le::putU16(bytes, 2 * i, words[i]);
    return bytes;
}

bool WmfCanvas::save(const std::filesystem::path& path) const {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    const std::vector<std::uint8_t> bytes = fileBytes();
    {
        const std::unique_ptr<BinaryFile> file = BinaryFile::open(temporary, "wb");
        if (!file) return false;
        if (!file->write(bytes) || !file->flush()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace notavera
