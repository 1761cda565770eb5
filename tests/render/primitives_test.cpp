// The drawing primitives, observed through the recording canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/headless/recording_canvas.h"
#include "render/primitives.h"

namespace notavera {
namespace {

using nlohmann::json;

class Primitives : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dc.musicFont, nullptr);
        dc.canvas = &canvas;
        SetStaffDefinition(dc, 20);
        BeginDrawingPass(dc);
        canvas.clear();
    }

    std::vector<json> calls(const std::string& op) const {
        std::vector<json> out;
        for (const json& c : canvas.calls()) {
            if (c["op"] == op) out.push_back(c);
        }
        return out;
    }

    RecordingCanvas canvas;
    DrawingContext dc;
};

TEST_F(Primitives, GlyphIsWrittenWithItsBaselineOnThePoint) {
    PutGlyph(dc, 500, 1000, 204);
    const auto notes = calls("glyph");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]["code"], 204);
    EXPECT_EQ(notes[0]["x"], 500);
    EXPECT_EQ(notes[0]["y"], 1000);
    EXPECT_EQ(notes[0]["fontHeight"], 160);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["x"], 500);
    EXPECT_EQ(runs[0]["y"], 1000);
    EXPECT_EQ(runs[0]["codePoints"][0], 0xE0A4);
    EXPECT_DOUBLE_EQ(runs[0]["em"].get<double>(), 80.0);
}

TEST_F(Primitives, ZoomAppliesToPositionsAndFontSize) {
    ApplyZoom(dc, {3, 4});
    BeginDrawingPass(dc);
    canvas.clear();
    PutGlyph(dc, 501, 1000, 207);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["x"], 375);
    EXPECT_EQ(runs[0]["y"], 750);
    EXPECT_DOUBLE_EQ(runs[0]["em"].get<double>(), 60.0);
    EXPECT_EQ(calls("glyph")[0]["fontHeight"], 120);
    // The small staff and a cue element on it take their ratios of the zoomed height.
    dc.draw.isSmallStaff = true;
    PutGlyph(dc, 501, 1000, 204);
    dc.draw.isCueSize = true;
    PutGlyph(dc, 501, 1000, 204);
    ASSERT_EQ(calls("glyph").size(), 3u);
    EXPECT_EQ(calls("glyph")[1]["fontHeight"], 96);
    EXPECT_EQ(calls("glyph")[2]["fontHeight"], 72);
}

TEST_F(Primitives, DefaultCorrectionsWriteGlyphsExactlyOnTheirPointOnScreenAndPrinter) {
    // The fixture's pass ran with the defaults: screen 2, printer 0.
    PutGlyph(dc, 0, 1000, 204);
    dc.printing = true;
    BeginDrawingPass(dc);
    PutGlyph(dc, 0, 1000, 204);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0]["y"], 1000);
    EXPECT_EQ(runs[1]["y"], 1000);
}

TEST_F(Primitives, HeightCorrectionCountsFromEachDevicesDefault) {
    EXPECT_EQ(EffectiveHeightCorrection({.screen = 2, .printer = 0}, false), 0);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = 2, .printer = 0}, true), 0);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = 5, .printer = 3}, false), 3);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = -1, .printer = 3}, true), 3);

    // Two points above the screen's default lower glyphs by 2 % of the ascent on screen only.
    dc.corrections.screen = 4;
    BeginDrawingPass(dc);
    canvas.clear();
    PutGlyph(dc, 0, 1000, 204);
    const int ascent = dc.fonts.glyphAscent[0][0];
    EXPECT_EQ(calls("glyphRun")[0]["y"], 1000 - ascent * 2 / 100);

    dc.printing = true;
    BeginDrawingPass(dc);
    canvas.clear();
    PutGlyph(dc, 0, 1000, 204);
    EXPECT_EQ(calls("glyphRun")[0]["y"], 1000);
}

TEST_F(Primitives, OldNotationLinesWriteTheAlternateCodes) {
    dc.draw.alternateGlyphs = true;
    PutGlyph(dc, 0, 0, 213);
    PutGlyph(dc, 0, 0, 215);
    PutGlyph(dc, 0, 0, 107);
    const auto notes = calls("glyph");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0]["code"], 233);
    EXPECT_EQ(notes[1]["code"], 235);
    EXPECT_EQ(notes[2]["code"], 107);
    const auto runs = calls("glyphRun");
    EXPECT_EQ(runs[0]["codePoints"][0], 0xE9E0);  // the medieval flat
}

struct CueClefCase {
    int code;
    int written;
};

class CueClefs : public Primitives, public ::testing::WithParamInterface<CueClefCase> {};

TEST_P(CueClefs, OnAnOldNotationLineACueClefTakesItsOwnCodeAndTheNormalFont) {
    dc.draw.alternateGlyphs = true;
    dc.draw.isCueSize = true;
    PutGlyph(dc, 0, 0, GetParam().code);
    PutGlyph(dc, 0, 0, 204);
    const auto notes = calls("glyph");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0]["code"], GetParam().written);
    EXPECT_EQ(notes[0]["fontHeight"], 160);
    // Other cue glyphs keep the cue font.
    EXPECT_EQ(notes[1]["code"], 224);
    EXPECT_EQ(notes[1]["fontHeight"], 120);
}

INSTANTIATE_TEST_SUITE_P(GFAndCClefs, CueClefs,
                         ::testing::Values(CueClefCase{207, 241}, CueClefCase{208, 242}, CueClefCase{209, 243}));

TEST_F(Primitives, MetafilePassesSkipGlyphsOutsideTheVisibleRegion) {
    dc.outputMode = OutputMode::Metafile;
    dc.visibleRegion = {100, 0, 200, 3000};
    PutGlyph(dc, 99, 500, 204);
    PutGlyph(dc, 150, 500, 204);
    PutGlyph(dc, 201, 500, 204);
    ASSERT_EQ(calls("glyph").size(), 1u);
    EXPECT_EQ(calls("glyph")[0]["x"], 150);
    dc.outputMode = OutputMode::Normal;
    PutGlyph(dc, 999, 500, 204);
    EXPECT_EQ(calls("glyph").size(), 2u);
}

TEST_F(Primitives, CentredStringIsMovedLeftByHalfItsWidth) {
    PutGlyphText(dc, 1000, 500, "12", true);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    const int width = canvas.measureGlyphs(U"\uE081\uE082", dc.musicFont->atHeight(160)).width;
    EXPECT_EQ(runs[0]["x"], 1000 - width / 2);
    EXPECT_EQ(calls("glyphText")[0]["codes"], json({'1', '2'}));
    EXPECT_TRUE(calls("glyphText")[0]["centred"].get<bool>());
    // Digits stand on the line they are written on: their SMuFL origin is one staff space higher.
    EXPECT_EQ(runs[0]["y"], 520);
}

TEST_F(Primitives, MetafilePassReplaysTheWidthsOfTheMeasuringPass) {
    dc.outputMode = OutputMode::Measuring;
    PutGlyphText(dc, 1000, 500, "3", true);
    PutGlyphText(dc, 2000, 500, "128", true);
    EXPECT_EQ(dc.outputMode, OutputMode::MeasuringText);
    EXPECT_EQ(dc.centredWidths.size(), 2u);
    const auto measured = calls("glyphRun");

    // The metafile canvas cannot measure: whatever it would answer must not be used.
    struct Unmeasurable : RecordingCanvas {
        TextExtent measureGlyphs(std::u32string_view, const GlyphFont&) override { return {9999, 0, 0}; }
    } metafile;
    dc.canvas = &metafile;
    dc.outputMode = OutputMode::Metafile;
    PutGlyphText(dc, 1000, 500, "3", true);
    PutGlyphText(dc, 2000, 500, "128", true);
    std::vector<json> replayed;
    for (const json& c : metafile.calls()) {
        if (c["op"] == "glyphRun") replayed.push_back(c);
    }
    ASSERT_EQ(replayed.size(), measured.size());
    for (std::size_t i = 0; i < replayed.size(); ++i) EXPECT_EQ(replayed[i]["x"], measured[i]["x"]) << i;
    EXPECT_EQ(dc.centredWidths.size(), 0u);
}

TEST_F(Primitives, ReplayQueueHoldsTwelveHundredFiftyWidthsAndTheFontSuppliesTheRest) {
    dc.outputMode = OutputMode::Measuring;
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    EXPECT_EQ(dc.centredWidths.size(), CentredWidthQueue::Capacity);
    dc.outputMode = OutputMode::Metafile;
    canvas.clear();
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1300u);
    EXPECT_EQ(runs.front()["x"], runs.back()["x"]);
}

TEST_F(Primitives, GlyphWidthIsTheDeviceWidthBackInPageUnits) {
    const int atOne = GlyphWidth(dc, 211);
    EXPECT_EQ(atOne, dc.musicFont->widthAt(211, 160));
    ApplyZoom(dc, {3, 4});
    EXPECT_EQ(GlyphWidth(dc, 211), dc.musicFont->widthAt(211, 120) * 4 / 3);
    EXPECT_EQ(GlyphWidth(dc, 211, false, true), dc.musicFont->widthAt(211, 90) * 4 / 3);
    EXPECT_EQ(GlyphWidth(dc, 3), 0);
}

TEST_F(Primitives, StemIsAFlatEndedGeometricLineTheZoomDoesNotThicken) {
    ApplyZoom(dc, {1, 2});
    DrawVLine(dc, 100, 170, 40, 2);
    const auto lines = calls("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["x1"], 20);
    EXPECT_EQ(lines[0]["y1"], 50);
    EXPECT_EQ(lines[0]["y2"], 85);
    EXPECT_EQ(lines[0]["pen"]["width"], 2);
    EXPECT_EQ(lines[0]["pen"]["ends"], "flat");
    const auto notes = calls("vline");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0]["x"], 40);
    EXPECT_EQ(notes[0]["y1"], 100);
    EXPECT_EQ(notes[0]["width"], 2);
}

TEST_F(Primitives, DashedBarIsThickenedOnePixelAtATime) {
    dc.draw.lineStyle = 1;
    dc.thickness.drawingLineMedium = 2;
    DrawVLine(dc, 0, 80, 1000, 3);
    const auto lines = calls("line");
    ASSERT_EQ(lines.size(), 6u);
    for (const json& l : lines) {
        EXPECT_EQ(l["pen"]["style"], "dash");
        EXPECT_EQ(l["pen"]["width"], 0);
    }
    EXPECT_EQ(lines[1]["x1"].get<int>() - lines[0]["x1"].get<int>(), std::lround(canvas.pixelWidth()));
}

TEST_F(Primitives, MetafileStrokesAreClippedToTheExportRegion) {
    dc.outputMode = OutputMode::Measuring;
    dc.exportRegion = {0, 100, 500, 200};
    DrawVLine(dc, 50, 300, 250, 2);
    DrawVLine(dc, 50, 300, 600, 2);
    const auto lines = calls("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["y1"], 100);
    EXPECT_EQ(lines[0]["y2"], 200);
}

TEST_F(Primitives, BandMayHangBelowItsEdge) {
    DrawBand(dc, 100, 500, 300, 540, -10, RgbColour(0, 0, 255));
    const auto polygons = calls("polygon");
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0]["points"], json({{100, 500}, {300, 540}, {300, 530}, {100, 490}}));
    EXPECT_EQ(polygons[0]["fill"], RgbColour(0, 0, 255));
    EXPECT_EQ(polygons[0]["outline"]["colour"], RgbColour(0, 0, 255));
    EXPECT_EQ(calls("band")[0]["t"], -10);
}

TEST_F(Primitives, DiscIsAFilledCircleInTheDrawingColour) {
    dc.draw.drawColour = RgbColour(128, 128, 128);
    DrawDisc(dc, 100, 200, 4);
    const auto ellipses = calls("ellipse");
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ(ellipses[0]["left"], 96);
    EXPECT_EQ(ellipses[0]["top"], 204);
    EXPECT_EQ(ellipses[0]["fill"], RgbColour(128, 128, 128));
    EXPECT_EQ(calls("disc")[0]["r"], 4);
}

TEST_F(Primitives, HorizontalStrokeIsFlatEndedAndClippedToTheExportRegion) {
    ApplyZoom(dc, {1, 2});
    DrawHLine(dc, 100, 300, 500, 2);
    auto lines = calls("line");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["x1"], 50);
    EXPECT_EQ(lines[0]["x2"], 150);
    EXPECT_EQ(lines[0]["y1"], 250);
    EXPECT_EQ(lines[0]["pen"]["ends"], "flat");
    EXPECT_EQ(calls("hline")[0]["x1"], 100);

    dc.outputMode = OutputMode::Metafile;
    dc.exportRegion = {200, 0, 1000, 400};
    DrawHLine(dc, 100, 300, 500, 2);  // above the region
    DrawHLine(dc, 100, 300, 300, 2);
    const auto strokes = calls("hline");
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[1]["x1"], 200);
    EXPECT_EQ(strokes[1]["x2"], 300);
}

TEST(PrimitivesWithoutCanvas, DrawNothingAndDoNotFail) {
    DrawingContext dc;
    PutGlyph(dc, 0, 0, 204);
    PutGlyphText(dc, 0, 0, "12", true);
    DrawVLine(dc, 0, 10, 0, 2);
    DrawHLine(dc, 0, 10, 0, 2);
    DrawBand(dc, 0, 0, 10, 10, 2, 0);
    DrawDisc(dc, 0, 0, 3);
    EXPECT_GT(GlyphWidth(dc, 204), 0);
}

}  // namespace
}  // namespace notavera
