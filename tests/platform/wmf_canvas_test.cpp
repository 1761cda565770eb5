// The metafile writer: header fields and checksum, record sizes, the object life cycle within each primitive,
// the y flip, arcs, text bytes and long polylines.
#include "platform/wmf_canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

#include <nlohmann/json.hpp>

#include "platform/headless/recording_canvas.h"
#include "platform/wmf/libwmf_player.h"
#include "score/little_endian.h"
#include "support/test_files.h"
#include "support/wmf_records.h"

namespace notavera {
namespace {

using test::FindRecords;
using test::ParsedMetafile;
using test::ParseMetafile;
using test::TextOutBytes;
using test::WmfRecord;

TEST(WmfCanvas, HeadersDescribeTheFile) {
    WmfCanvas canvas(1000, 500);
    canvas.drawRect({0, 0, 1000, 500}, ShapeStyle{Pen{}, RgbColour(1, 2, 3)});
    Point many[40];
    for (int i = 0; i < 40; ++i) many[i] = {i * 10, i * 5};
    canvas.drawPolyline(many, Pen{});
    const std::vector<std::uint8_t> bytes = canvas.fileBytes();
    const ParsedMetafile m = ParseMetafile(bytes);
    EXPECT_EQ(le::u32(bytes, 0), wmf::kPlaceableKey);
    // Left, top, right, bottom, then tenths of a millimetre per inch.
    EXPECT_EQ(std::vector(&m.placeable[3], &m.placeable[8]), (std::vector<std::uint16_t>{0, 0, 1000, 500, 254}));
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) checksum ^= m.placeable[i];
    EXPECT_EQ(m.placeable[10], checksum);
    EXPECT_EQ(m.header[1], wmf::kHeaderWords);
    EXPECT_EQ(m.header[2], 0x0300);
    EXPECT_EQ(m.header[3] | m.header[4] << 16, (bytes.size() - wmf::kPlaceableBytes) / 2);
    EXPECT_EQ(m.header[5], 2);  // a pen and a brush live at the same time, no more
    std::uint32_t largest = 0;
    for (const WmfRecord& r : m.records) largest = std::max<std::uint32_t>(largest, 3 + r.params.size());
    EXPECT_EQ(m.header[6] | m.header[7] << 16, largest);
    EXPECT_EQ(largest, 3u + 1 + 80);  // the polyline: count and forty points
    ASSERT_FALSE(m.records.empty());
    EXPECT_EQ(m.records.back().function, wmf::Eof);
    EXPECT_EQ(m.trailingBytes, 0u);
}

TEST(WmfCanvas, MappingComesFirstAndFlipsTheUpwardY) {
    WmfCanvas canvas(2000, 1000);
    canvas.setWindowOrigin({500, 300});
    canvas.drawLine({600, 400}, {1500, 1200}, Pen{RgbColour(255, 0, 0), 3, PenStyle::Dash});
    const ParsedMetafile m = ParseMetafile(canvas.fileBytes());
    ASSERT_GE(m.records.size(), 3u);
    EXPECT_EQ(m.records[0].function, wmf::SetMapMode);
    EXPECT_EQ(m.records[0].params, std::vector<std::uint16_t>{wmf::kMapModeAnisotropic});
    EXPECT_EQ(m.records[1].function, wmf::SetWindowOrg);
    EXPECT_EQ(m.records[2].function, wmf::SetWindowExt);
    EXPECT_EQ(m.records[2].param(0), 1000);  // y first, as every point in the format
    EXPECT_EQ(m.records[2].param(1), 2000);
    const auto moves = FindRecords(m, wmf::MoveTo), lines = FindRecords(m, wmf::LineTo);
    ASSERT_EQ(moves.size(), 1u);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(moves[0]->param(1), 100);           // x from the window origin
    EXPECT_EQ(moves[0]->param(0), 1000 - 100);    // y measured down from the top
    EXPECT_EQ(lines[0]->param(1), 1000);
    EXPECT_EQ(lines[0]->param(0), 1000 - 900);
    const auto pens = FindRecords(m, wmf::CreatePenIndirect);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0]->params, (std::vector<std::uint16_t>{1, 3, 0, 0x00FF, 0x0000}));
}

// Every primitive creates, selects, uses and deletes its objects, so nothing is left selected between calls.
TEST(WmfCanvas, EachPrimitiveDeletesWhatItCreated) {
    WmfCanvas canvas(1000, 1000);
    const Point triangle[] = {{100, 100}, {300, 100}, {200, 300}};
    canvas.drawPolygon(triangle, ShapeStyle{std::nullopt, RgbColour(0, 0, 255)});
    canvas.drawText({10, 10}, "a", TextFont{"Arial", 30}, 0);
    const ParsedMetafile m = ParseMetafile(canvas.fileBytes());
    std::vector<std::uint16_t> sequence;
    for (const WmfRecord& r : m.records) {
        if (r.function != wmf::SetMapMode && r.function != wmf::SetWindowOrg && r.function != wmf::SetWindowExt)
            sequence.push_back(r.function);
    }
    const std::vector<std::uint16_t> expected = {
        wmf::CreatePenIndirect, wmf::SelectObject, wmf::CreateBrushIndirect, wmf::SelectObject, wmf::Polygon,
        wmf::DeleteObject,      wmf::DeleteObject, wmf::CreateFontIndirect,  wmf::SelectObject, wmf::SetTextAlign,
        wmf::SetTextColor,      wmf::SetBkMode,    wmf::TextOut,             wmf::DeleteObject, wmf::Eof};
    EXPECT_EQ(sequence, expected);
    // A fill without an outline uses the null pen; the font reuses the first free slot.
    EXPECT_EQ(FindRecords(m, wmf::CreatePenIndirect)[0]->params[0], static_cast<std::uint16_t>(PenStyle::Null));
    const auto selects = FindRecords(m, wmf::SelectObject);
    EXPECT_EQ(selects[0]->params[0], 0);
    EXPECT_EQ(selects[1]->params[0], 1);
    EXPECT_EQ(selects[2]->params[0], 0);
    EXPECT_EQ(FindRecords(m, wmf::Polygon)[0]->params.size(), 1u + 2 * 3);
}

TEST(WmfCanvas, ArcsGiveEndStartAndBoxBottomUpAndRasterOperationsTheirCode) {
    WmfCanvas canvas(1000, 1000);
    canvas.drawArc({100, 100, 300, 300}, {300, 200}, {200, 300}, Pen{});
    canvas.drawText({10, 10}, "abc", TextFont{"Times New Roman", 40}, 0, RgbColour(255, 255, 255));
    canvas.setRasterOp(RasterOp::NotXor);
    const ParsedMetafile m = ParseMetafile(canvas.fileBytes());
    // End point, start point, then the box as bottom, right, top, left.
    const std::vector<std::uint16_t> arc = {700, 200, 800, 300, 900, 300, 700, 100};
    EXPECT_EQ(FindRecords(m, wmf::Arc)[0]->params, arc);
    EXPECT_EQ(FindRecords(m, wmf::SetBkMode).at(0)->params[0], wmf::kOpaque);
    EXPECT_EQ(FindRecords(m, wmf::SetBkColor).at(0)->params.size(), 2u);
    EXPECT_EQ(FindRecords(m, wmf::SetRop2).at(0)->params[0], wmf::kRopNotXorPen);
}

// A clip keeps its own right and bottom edges; lifting it restores the device state, and the raster
// operation chosen meanwhile is set again on the restored state.
TEST(WmfCanvas, AClipKeepsItsEdgesAndLiftingItKeepsTheRasterOperation) {
    WmfCanvas canvas(1000, 1000);
    canvas.setClip(Box{100, 200, 300, 400});
    canvas.setRasterOp(RasterOp::NotXor);
    canvas.setClip(std::nullopt);
    const ParsedMetafile m = ParseMetafile(canvas.fileBytes());
    std::vector<WmfRecord> after(m.records.begin() + 3, m.records.end() - 1);
    ASSERT_EQ(after.size(), 5u);
    EXPECT_EQ(after[0].function, wmf::SaveDc);
    EXPECT_EQ(after[1].params, (std::vector<std::uint16_t>{801, 301, 600, 100}));
    EXPECT_EQ(after[3].function, wmf::RestoreDc);
    EXPECT_EQ(after[4].params, std::vector<std::uint16_t>{wmf::kRopNotXorPen});
}

TEST(WmfCanvas, FontRecordsCarryTheDocumentFaceAndTheGlyphFamily) {
    WmfCanvas canvas(1000, 1000);
    canvas.drawText({10, 10}, "Clé € ♩", TextFont{"Times New Roman", 45, 700, true, 900, 0}, RgbColour(0, 128, 0));
    canvas.drawGlyphs({500, 500}, U"\uE050\uE0A4", GlyphFont{"Bravura", "bravura.otf", 80.4, 0}, 0);
    const ParsedMetafile m = ParseMetafile(canvas.fileBytes());
    const auto fonts = FindRecords(m, wmf::CreateFontIndirect);
    const auto texts = FindRecords(m, wmf::TextOut);
    ASSERT_EQ(fonts.size(), 2u);
    ASSERT_EQ(texts.size(), 2u);
    const WmfRecord& text = *fonts[0];
    // The em height, the escapement and the orientation that follows it, the weight, italic, ANSI, the face.
    EXPECT_EQ(std::vector(text.params.begin(), text.params.begin() + 7),
              (std::vector<std::uint16_t>{std::uint16_t(-45), 0, 900, 900, 700, 1, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&text.params[9])), "Times New Roman");
    EXPECT_EQ(TextOutBytes(*texts[0]), "Cl\xE9 \x80 ?");
    const WmfRecord& glyph = *fonts[1];
    EXPECT_EQ(glyph.param(0), -80);
    EXPECT_EQ(glyph.params[6] >> 8, wmf::kSymbolCharset);
    EXPECT_EQ(static_cast<char>(glyph.params[9] & 0xFF), 'B');
    EXPECT_EQ(TextOutBytes(*texts[1]), "\x50\xA4");
    EXPECT_EQ(texts[1]->params.back(), 500);      // x
    EXPECT_EQ(texts[1]->param(texts[1]->params.size() - 2), 500);  // y from the top
    EXPECT_EQ(FindRecords(m, wmf::SetTextColor)[0]->params, (std::vector<std::uint16_t>{0x8000, 0}));
}

}  // namespace
}  // namespace notavera

namespace notavera {
namespace {

struct ImageCase {
    const char* name;
    int width, height;
    std::uint32_t (*pixel)(int x, int y);
    int bitsPerPixel;  // the depth the bitmap is written at
};

// An image is written at the smallest depth its colours need and played back by the metafile player into the
// same box, the right way round; what is more than half transparent comes back transparent, through a mask.
class WmfImages : public ::testing::TestWithParam<ImageCase> {};

TEST_P(WmfImages, ComeBackThroughThePlayerTheRightWayRound) {
    const ImageCase& c = GetParam();
    Image image{c.width, c.height, {}};
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) image.pixels.push_back(c.pixel(x, y));
    WmfCanvas canvas(1000, 500);
    canvas.drawImage({100, 50, 400, 350}, image);
    const std::vector<std::uint8_t> bytes = canvas.fileBytes();
    const ParsedMetafile m = ParseMetafile(bytes);
    const auto dibs = FindRecords(m, wmf::StretchDib);
    const bool masked = std::any_of(image.pixels.begin(), image.pixels.end(), [](std::uint32_t p) { return p >> 24 < 0x80; });
    ASSERT_EQ(dibs.size(), masked ? 2u : 1u);
    EXPECT_EQ(dibs.back()->params.at(11 + 7), c.bitsPerPixel);  // the bit count of the bitmap's header

    RecordingCanvas played;
    ASSERT_TRUE(LibwmfPlayer().play(played, {0, 0, 1000, 500}, bytes));
    const auto& calls = played.calls();
    ASSERT_EQ(calls.size(), 1u) << calls.dump();
    EXPECT_EQ(calls[0]["op"], "image");
    EXPECT_EQ((std::array<int, 4>{calls[0]["left"], calls[0]["bottom"], calls[0]["right"], calls[0]["top"]}),
              (std::array<int, 4>{100, 50, 400, 350}));
    const auto opaque = [](std::uint32_t argb) { return argb >> 24 == 0xFF ? argb : 0u; };
    const std::uint32_t corners[] = {opaque(image.pixels.front()), opaque(image.pixels[c.width - 1]),
                                     opaque(image.pixels[image.pixels.size() - c.width]), opaque(image.pixels.back())};
    EXPECT_EQ(calls[0]["corners"], nlohmann::json(corners));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, WmfImages,
    ::testing::Values(
        ImageCase{"TwoColours", 9, 5, [](int x, int y) -> std::uint32_t { return x == 0 && y == 0 ? 0xFF000000 : 0xFF00FF00; }, 1},
        ImageCase{"SixteenColours", 7, 2,
                  [](int x, int y) -> std::uint32_t { return 0xFF000000u | static_cast<std::uint32_t>(x * 16 + y * 3) << 8; }, 4},
        ImageCase{"Transparency", 3, 4,
                  [](int x, int y) -> std::uint32_t { return x == 2 && y == 3 ? 0x00123456 : 0xFF0000FFu - y * 40; }, 4},
        ImageCase{"ManyColours", 20, 15,
                  [](int x, int y) -> std::uint32_t { return 0xFF000000u | static_cast<std::uint32_t>(x * 12) << 16 | static_cast<std::uint32_t>(y * 17); },
                  24}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera

namespace notavera {
namespace {

// A bitmap header claiming more rows or colours than its record holds, or a negative size (as a damaged file
// does), is not read: libwmf would size them from the header alone. The picture still plays, without that bitmap.
TEST(WmfImages, AHeaderClaimingMoreThanTheRecordHoldsIsSkipped) {
    struct Field {
        std::size_t at;
        std::uint32_t value;
        bool drawn;
    };
    for (const Field f : {Field{8, 15, true}, Field{8, 0xFFFFFFF1u, false}, Field{8, 40000, false}, Field{4, 0xFFFFFFECu, false},
                          Field{32, 1, true}, Field{32, 0xFFFF, false}}) {
        Image image{20, 15, std::vector<std::uint32_t>(300, 0xFF336699u)};
        WmfCanvas canvas(1000, 500);
        canvas.drawImage({100, 50, 400, 350}, image);
        std::vector<std::uint8_t> bytes = canvas.fileBytes();
        const std::array<std::uint8_t, 12> header{40, 0, 0, 0, 20, 0, 0, 0, 15, 0, 0, 0};
        const auto at = std::search(bytes.begin(), bytes.end(), header.begin(), header.end());
        ASSERT_NE(at, bytes.end());
        le::putU32(bytes, static_cast<std::size_t>(at - bytes.begin()) + f.at, f.value);
        RecordingCanvas played;
        EXPECT_TRUE(LibwmfPlayer().play(played, {0, 0, 1000, 500}, bytes));
        EXPECT_EQ(played.calls().size(), f.drawn ? 1u : 0u) << f.at << " " << f.value;
    }
}

// A header announcing a record larger than the whole file is damaged: the file is not read at all.
TEST(WmfImages, AHeaderAnnouncingARecordLargerThanTheFileIsRefused) {
    WmfCanvas canvas(1000, 500);
    canvas.drawRect({0, 0, 1000, 500}, ShapeStyle{Pen{}, RgbColour(1, 2, 3)});
    std::vector<std::uint8_t> bytes = canvas.fileBytes();
    const std::size_t maxRecord = (le::u32(bytes, 0) == 0x9AC6CDD7u ? 22 : 0) + 12;
    le::putU32(bytes, maxRecord, static_cast<std::uint32_t>(bytes.size()));
    EXPECT_FALSE(LibwmfPlayer().measure(bytes));
    RecordingCanvas played;
    EXPECT_FALSE(LibwmfPlayer().play(played, {0, 0, 1000, 500}, bytes));
    EXPECT_TRUE(played.calls().empty());
}

}  // namespace
}  // namespace notavera
