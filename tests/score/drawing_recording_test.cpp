// Recorded drawings, symbol files and picture heads: what is read back is what was written, and damaged bytes
// are refused before anything is used.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "score/drawing_recording.h"

namespace notavera {
namespace {

// A line of two points and a curve of four, thick and dashed.
DrawingRecording Sample() {
    const ShapeCode curve{static_cast<unsigned>(ShapeKind::Bezier), ShapeWidth::Thick, ShapeLine::Dashed};
    return {{{3, 0, 1}, {curve.encode(), 2, 5}}, {{0, 0}, {100, 50}, {10, -20}, {30, 40}, {30, -40}, {20.5f, 20}}};
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
    return bytes;
}

TEST(DrawingRecording, ReadsBackWhatItWrites) {
    const DrawingRecording r = Sample();
    const std::vector<std::uint8_t> bytes = EncodeRecording(r);
    EXPECT_EQ(bytes.size(), RecordingLength(r));
    EXPECT_EQ(bytes.size(), 6u * 2 + 8u * 6 + 4);
    EXPECT_EQ(DecodeRecording(bytes), r);
    EXPECT_EQ(DecodeSymbolFile(EncodeSymbolFile(r)), r);
    const ShapeCode code = ShapeCode::Decode(r.shapes[1].code);
    EXPECT_EQ(code.kind, 14u);
    EXPECT_EQ(code.width, ShapeWidth::Thick);
    EXPECT_EQ(code.line, ShapeLine::Dashed);
    EXPECT_EQ(ShapeCode::Decode(1u << 9 | 1u << 5 | 2).encode(), 1u << 9 | 1u << 5 | 2);
}

TEST(DrawingRecording, RefusesDamagedBytes) {
    const std::vector<std::uint8_t> good = EncodeRecording(Sample());
    const auto nan = std::bit_cast<std::uint32_t>(std::numeric_limits<float>::quiet_NaN());
    std::vector<std::uint8_t> notANumber = good;
    for (int i = 0; i < 4; ++i) notANumber[14 + 8 * 3 + i] = static_cast<std::uint8_t>(nan >> (8 * i));
    const std::vector<std::vector<std::uint8_t>> damaged{
        {},
        {1},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 40),  // the points cut short
        Patched(good, 0, 21),                                       // more shapes than a recording holds
        Patched(good, 12, 100),                                     // a shape ending beyond the last point
        Patched(good, 10, 6),                                       // a shape ending before it starts
        notANumber,
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) EXPECT_FALSE(DecodeRecording(damaged[i])) << i;
    // A hundred and one points, every one of them there: still more than a recording holds.
    const DrawingRecording tooLong{{{3, 0, maxRecordedPoints}}, std::vector<PointStep>(maxRecordedPoints + 1)};
    EXPECT_FALSE(DecodeRecording(EncodeRecording(tooLong)));

    std::vector<std::uint8_t> symbol = EncodeSymbolFile(Sample());
    EXPECT_FALSE(DecodeSymbolFile(std::span(symbol).first(symbol.size() - 1)));
    EXPECT_FALSE(DecodeSymbolFile(Patched(symbol, 0, static_cast<std::uint16_t>(symbol.size() - 4))));
}

TEST(DrawingRecording, PictureHeadCarriesTheExtents) {
    const std::vector<std::uint8_t> metafile{1, 2, 3};
    std::vector<std::uint8_t> blob = EncodePicture({8, 700, -3}, metafile);
    SetPictureExtents(blob, 705, 20);
    const std::optional<PictureBlob> p = DecodePicture(blob);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->head.mappingMode, 8);
    EXPECT_EQ(p->head.xExtent, 705);
    EXPECT_EQ(p->head.yExtent, 20);
    EXPECT_TRUE(std::ranges::equal(p->metafile, metafile));
    EXPECT_FALSE(DecodePicture(std::span(blob).first(pictureHeadBytes - 1)));
}

}  // namespace
}  // namespace notavera
