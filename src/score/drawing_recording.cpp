// Reading and writing recorded drawings, symbol files and picture heads; every count is checked against the bytes.
#include "score/drawing_recording.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "score/byte_cursor.h"
#include "score/little_endian.h"

namespace notavera {
namespace {

constexpr std::uint16_t kindMask = 0x1F;
constexpr std::uint16_t thinBit = 1u << 5, mediumBit = 1u << 6, thickBit = 1u << 7;
constexpr std::uint16_t dashedBit = 1u << 8, dottedBit = 1u << 9;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutFloat(std::vector<std::uint8_t>& out, float f) {
    const auto bits = std::bit_cast<std::uint32_t>(f);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

}  // namespace

ShapeCode ShapeCode::Decode(std::uint16_t code) {
    ShapeCode c;
    c.kind = code & kindMask;
    // A damaged code with several width bits takes the thinnest, as the pen was chosen from the lowest bit.
    c.width = (code & thinBit) != 0     ? ShapeWidth::Thin
              : (code & mediumBit) != 0 ? ShapeWidth::Medium
              : (code & thickBit) != 0  ? ShapeWidth::Thick
                                        : ShapeWidth::Normal;
    c.line = (code & dashedBit) != 0 ? ShapeLine::Dashed : (code & dottedBit) != 0 ? ShapeLine::Dotted : ShapeLine::Continuous;
    return c;
}

std::uint16_t ShapeCode::encode() const {
    auto code = static_cast<std::uint16_t>(kind & kindMask);
    if (width == ShapeWidth::Thin) code |= thinBit;
    if (width == ShapeWidth::Medium) code |= mediumBit;
    if (width == ShapeWidth::Thick) code |= thickBit;
    if (line == ShapeLine::Dashed) code |= dashedBit;
    if (line == ShapeLine::Dotted) code |= dottedBit;
    return code;
}

std::size_t RecordingLength(const DrawingRecording& recording) {
    return 6 * recording.shapes.size() + 8 * recording.points.size() + 4;
}

std::vector<std::uint8_t> EncodeRecording(const DrawingRecording& recording) {
    std::vector<std::uint8_t> out;
    out.reserve(RecordingLength(recording));
    PutU16(out, static_cast<std::uint16_t>(recording.shapes.size()));
    for (const RecordedShape& s : recording.shapes) {
        PutU16(out, s.code);
        PutU16(out, s.first);
        PutU16(out, s.last);
    }
    for (const PointStep& p : recording.points) {
        PutFloat(out, p.dx);
        PutFloat(out, p.dy);
    }
    PutU16(out, 0);
    return out;
}

std::optional<DrawingRecording> DecodeRecording(std::span<const std::uint8_t> bytes) {
    ByteCursor cursor(bytes);
    std::uint16_t count = 0;
    if (!cursor.u16(count) || count > maxRecordedShapes) return std::nullopt;
    DrawingRecording recording;
    std::size_t pointCount = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        RecordedShape s;
        if (!cursor.u16(s.code) || !cursor.u16(s.first) || !cursor.u16(s.last)) return std::nullopt;
        if (s.first > s.last || s.last >= maxRecordedPoints) return std::nullopt;
        pointCount = std::max<std::size_t>(pointCount, s.last + 1u);
        recording.shapes.push_back(s);
    }
    for (std::size_t i = 0; i < pointCount; ++i) {
        std::uint32_t x = 0, y = 0;
        if (!cursor.u32(x) || !cursor.u32(y)) return std::nullopt;
        const PointStep p{std::bit_cast<float>(x), std::bit_cast<float>(y)};
        // A step beyond a hundred metres is damage, not a drawing.
        constexpr float farthest = 1e6f;
        if (!std::isfinite(p.dx) || !std::isfinite(p.dy) || std::fabs(p.dx) > farthest || std::fabs(p.dy) > farthest)
            return std::nullopt;
        recording.points.push_back(p);
    }
    return recording;
}

std::vector<std::uint8_t> EncodeSymbolFile(const DrawingRecording& recording) {
    std::vector<std::uint8_t> out;
    PutU16(out, static_cast<std::uint16_t>(RecordingLength(recording)));
    const std::vector<std::uint8_t> body = EncodeRecording(recording);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::optional<DrawingRecording> DecodeSymbolFile(std::span<const std::uint8_t> bytes) {
    ByteCursor cursor(bytes);
    std::uint16_t length = 0;
    std::span<const std::uint8_t> body;
    if (!cursor.u16(length) || !cursor.take(length, body)) return std::nullopt;
    std::optional<DrawingRecording> recording = DecodeRecording(body);
    // The length must be the one the recording gives: anything else is another kind of file.
    if (recording && RecordingLength(*recording) != length) return std::nullopt;
    return recording;
}

std::vector<std::uint8_t> EncodePicture(const PictureHead& head, std::span<const std::uint8_t> metafile) {
    std::vector<std::uint8_t> out(pictureHeadBytes + metafile.size());
    le::putU32(out, 0, static_cast<std::uint32_t>(head.mappingMode));
    le::putU32(out, 4, static_cast<std::uint32_t>(head.xExtent));
    le::putU32(out, 8, static_cast<std::uint32_t>(head.yExtent));
    std::copy(metafile.begin(), metafile.end(), out.begin() + pictureHeadBytes);
    return out;
}

std::optional<PictureBlob> DecodePicture(std::span<const std::uint8_t> payload) {
    if (payload.size() < pictureHeadBytes) return std::nullopt;
    PictureBlob p;
    p.head.mappingMode = static_cast<std::int32_t>(le::u32(payload, 0));
    p.head.xExtent = static_cast<std::int32_t>(le::u32(payload, 4));
    p.head.yExtent = static_cast<std::int32_t>(le::u32(payload, 8));
    p.metafile = payload.subspan(pictureHeadBytes);
    return p;
}

void SetPictureExtents(std::span<std::uint8_t> payload, std::int32_t xExtent, std::int32_t yExtent) {
    if (payload.size() < pictureHeadBytes) return;
    le::putU32(payload, 4, static_cast<std::uint32_t>(xExtent));
    le::putU32(payload, 8, static_cast<std::uint32_t>(yExtent));
}

}  // namespace notavera
