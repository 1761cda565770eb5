// The drawing layer's stored data: a recorded drawing (its shapes and the relative points they walk through), as it
// is kept in a recording slot, a drawing element's blob and a symbol file; and the head of a picture element's blob.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace notavera {

inline constexpr std::size_t maxRecordedShapes = 20;
inline constexpr std::size_t maxRecordedPoints = 100;

// The kinds of shape a recording holds (bits 0-4 of a shape code).
enum class ShapeKind : std::uint8_t {
    Ellipse = 1,
    Rectangle = 2,
    Line = 3,
    EraseBox = 4,
    Polygon = 10,
    FilledRectangle = 11,
    FilledPolygon = 12,
    FilledEllipse = 13,
    Bezier = 14,
};
enum class ShapeWidth : std::uint8_t { Normal, Thin, Medium, Thick };
enum class ShapeLine : std::uint8_t { Continuous, Dashed, Dotted };

// One 16-bit shape code: the kind, one width bit (5 thin, 6 medium, 7 thick; none is normal) and one style bit
// (8 dashed, 9 dotted; none is continuous).
struct ShapeCode {
    unsigned kind = 0;
    ShapeWidth width = ShapeWidth::Normal;
    ShapeLine line = ShapeLine::Continuous;

    static ShapeCode Decode(std::uint16_t code);
    std::uint16_t encode() const;
};

struct RecordedShape {
    std::uint16_t code = 0;
    std::uint16_t first = 0;  // index of its first point
    std::uint16_t last = 0;   // index of its last point
    friend bool operator==(const RecordedShape&, const RecordedShape&) = default;
};

// A point as the difference from the previous point of the recording (the first one from the drawing's origin).
struct PointStep {
    float dx = 0;
    float dy = 0;
    friend bool operator==(const PointStep&, const PointStep&) = default;
};

struct DrawingRecording {
    std::vector<RecordedShape> shapes;
    std::vector<PointStep> points;
    friend bool operator==(const DrawingRecording&, const DrawingRecording&) = default;
};

// The recording's length as the slot keeps it: 6 bytes a shape, 8 a point and 4 more (its shape count and a
// closing zero word). The stored bytes are exactly this long.
std::size_t RecordingLength(const DrawingRecording& recording);
std::vector<std::uint8_t> EncodeRecording(const DrawingRecording& recording);
// The recording in stored bytes, or nothing when they are short, count more shapes or points than a recording
// takes, name points they do not hold, or hold a point that is not a finite number. Bytes after the points are
// not read.
std::optional<DrawingRecording> DecodeRecording(std::span<const std::uint8_t> bytes);

// A symbol file: the u16 length, then that many bytes of the recording. Nothing when the file is short or
// damaged.
std::vector<std::uint8_t> EncodeSymbolFile(const DrawingRecording& recording);
std::optional<DrawingRecording> DecodeSymbolFile(std::span<const std::uint8_t> bytes);

// The picture element's blob: a 16-byte head (mapping mode, x extent, y extent in page units, a run-time handle
// that means nothing once stored), then the metafile's bytes.
inline constexpr std::size_t pictureHeadBytes = 16;
struct PictureHead {
    std::int32_t mappingMode = 8;  // anisotropic: the picture is stretched to its extents
    std::int32_t xExtent = 0;
    std::int32_t yExtent = 0;
};
struct PictureBlob {
    PictureHead head;
    std::span<const std::uint8_t> metafile;
};
std::vector<std::uint8_t> EncodePicture(const PictureHead& head, std::span<const std::uint8_t> metafile);
// Nothing when the blob is shorter than its head.
std::optional<PictureBlob> DecodePicture(std::span<const std::uint8_t> payload);
void SetPictureExtents(std::span<std::uint8_t> payload, std::int32_t xExtent, std::int32_t yExtent);

}  // namespace notavera
