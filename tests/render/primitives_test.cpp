// The drawing context and the primitives, observed through the recording canvas: staff metrics and font heights
// under zoom and ratios, baselines and measured widths, glyphs at their point and size, the codes of old-notation
// lines, centred strings and the replay of their measured widths, strokes, bands and discs.
#include "render/primitives.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "platform/headless/recording_canvas.h"
#include "render/centred_width_queue.h"
#include "render/drawing_context.h"
#include "render/music_font.h"
#include "render/staff_metrics.h"

namespace notavera {
namespace {

using nlohmann::json;

std::vector<json> CallsOf(const RecordingCanvas& canvas, const std::string& op) {
    std::vector<json> out;
    for (const json& c : canvas.calls())
        if (c["op"] == op) out.push_back(c);
    return out;
}

class Primitives : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dc.musicFont, nullptr);
        dc.canvas = &canvas;
        SetStaffDefinition(dc, 20);
        BeginDrawingPass(dc);
    }
    void Pass(ZoomFraction zoom = {1, 1}) {
        ApplyZoom(dc, zoom);
        BeginDrawingPass(dc);
        canvas.clear();
    }
    std::vector<json> calls(const std::string& op) const { return CallsOf(canvas, op); }

    RecordingCanvas canvas;
    DrawingContext dc;
};

TEST_F(Primitives, AGlyphIsWrittenOnItsPointAtTheZoomAndInItsSize) {
    Pass();
    PutGlyph(dc, 500, 1000, 204);
    Pass({3, 4});
    PutGlyph(dc, 501, 1000, 207);
    dc.draw.isSmallStaff = true;  // the small staff and a cue element on it take their ratios of the zoomed height
    PutGlyph(dc, 501, 1000, 204);
    dc.draw.isCueSize = true;
    PutGlyph(dc, 501, 1000, 204);
    const auto notes = calls("glyph"), runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(notes[0]["code"], 207);
    EXPECT_EQ(notes[0]["x"], 501);
    EXPECT_EQ(notes[0]["y"], 1000);
    EXPECT_EQ((std::vector{notes[0]["fontHeight"], notes[1]["fontHeight"], notes[2]["fontHeight"]}),
              (std::vector<json>{120, 96, 72}));
    EXPECT_EQ(runs[0]["x"], 375);
    EXPECT_EQ(runs[0]["y"], 750);
    EXPECT_DOUBLE_EQ(runs[0]["em"].get<double>(), 60.0);
    EXPECT_EQ(runs[1]["codePoints"][0], 0xE0A4);
}

TEST_F(Primitives, HeightCorrectionsCountFromEachDevicesDefault) {
    const auto written = [this](bool printing, int screen) {
        dc.printing = printing;
        dc.corrections.screen = screen;
        Pass();
        PutGlyph(dc, 0, 1000, 204);
        return calls("glyphRun").at(0)["y"].get<int>();
    };
    EXPECT_EQ(written(false, 2), 1000);  // the defaults write glyphs exactly on their point
    EXPECT_EQ(written(true, 2), 1000);
    // Two points above the screen's default lower glyphs by 2 % of the ascent on the screen only.
    EXPECT_EQ(written(false, 4), 1000 - dc.fonts.glyphAscent[0][0] * 2 / 100);
    EXPECT_EQ(written(true, 4), 1000);
}

TEST_F(Primitives, OldNotationLinesWriteTheAlternatesAndTheirCueClefsFullSize) {
    Pass();
    dc.draw.alternateGlyphs = true;
    PutGlyph(dc, 0, 0, 213);
    PutGlyph(dc, 0, 0, 107);
    dc.draw.isCueSize = true;
    PutGlyph(dc, 0, 0, 208);
    PutGlyph(dc, 0, 0, 204);
    const auto notes = calls("glyph");
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ((std::vector{notes[0]["code"], notes[1]["code"], notes[2]["code"], notes[3]["code"]}),
              (std::vector<json>{233, 107, 242, 224}));
    EXPECT_EQ(notes[2]["fontHeight"], 160);
    EXPECT_EQ(notes[3]["fontHeight"], 120);
    EXPECT_EQ(calls("glyphRun")[0]["codePoints"][0], 0xE9E0);  // the medieval flat
}

TEST_F(Primitives, MetafilePassesSkipGlyphsOutsideTheVisibleRegion) {
    Pass();
    dc.outputMode = OutputMode::Metafile;
    dc.visibleRegion = {100, 0, 200, 3000};
    for (int x : {99, 100, 200, 201}) PutGlyph(dc, x, 500, 204);
    ASSERT_EQ(calls("glyph").size(), 2u);
    EXPECT_EQ(calls("glyph")[0]["x"], 100);
    dc.outputMode = OutputMode::Normal;
    PutGlyph(dc, 999, 500, 204);
    EXPECT_EQ(calls("glyph").size(), 3u);
}

TEST_F(Primitives, ACentredStringMovesLeftByHalfItsMeasuredWidthWhichTheMetafilePassReplays) {
    Pass();
    PutGlyphText(dc, 1000, 500, "12", true);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 2u);
    const int width = canvas.measureGlyphs(U"\uE081\uE082", dc.musicFont->atHeight(160)).width;
    EXPECT_EQ(runs[0]["x"], 1000 - width / 2);
    EXPECT_EQ(runs[0]["y"], 520);  // digits stand on their line: their SMuFL origin is a staff space higher
    EXPECT_EQ(calls("glyphText")[0]["codes"], json({'1', '2'}));
    EXPECT_TRUE(calls("glyphText")[0]["centred"].get<bool>());

    canvas.clear();
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
    const auto replayed = CallsOf(metafile, "glyphRun");
    ASSERT_EQ(replayed.size(), measured.size());
    for (std::size_t i = 0; i < replayed.size(); ++i) EXPECT_EQ(replayed[i]["x"], measured[i]["x"]) << i;
    EXPECT_EQ(dc.centredWidths.size(), 0u);
}

TEST_F(Primitives, TheReplayQueueHoldsItsCapacityAndTheFontSuppliesTheRest) {
    Pass();
    dc.outputMode = OutputMode::Measuring;
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    EXPECT_EQ(dc.centredWidths.size(), CentredWidthQueue::Capacity);
    dc.outputMode = OutputMode::Metafile;
    canvas.clear();
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    const auto runs = calls("glyphRun");
    ASSERT_EQ(runs.size(), 1300u);
    EXPECT_EQ(runs.front()["x"], runs.back()["x"]);

    CentredWidthQueue q;  // first in, first out; once emptied it records from the start again
    for (int i = 0; i < 2000; ++i) q.push(i);
    for (std::size_t i = 0; i < CentredWidthQueue::Capacity; ++i) EXPECT_EQ(q.pop(), static_cast<int>(i));
    EXPECT_FALSE(q.pop());
    q.push(5);
    q.push(7);
    EXPECT_EQ(q.pop(), 5);
    q.push(30);
    EXPECT_EQ(q.pop(), 7);
    EXPECT_EQ(q.pop(), 30);
    EXPECT_FALSE(q.pop());
}

TEST_F(Primitives, GlyphWidthIsTheDeviceWidthBackInPageUnits) {
    EXPECT_EQ(GlyphWidth(dc, 211), dc.musicFont->widthAt(211, 160));
    ApplyZoom(dc, {3, 4});
    EXPECT_EQ(GlyphWidth(dc, 211), dc.musicFont->widthAt(211, 120) * 4 / 3);
    EXPECT_EQ(GlyphWidth(dc, 211, false, true), dc.musicFont->widthAt(211, 90) * 4 / 3);
    EXPECT_EQ(GlyphWidth(dc, 211, true, false), dc.musicFont->widthAt(211, 96) * 4 / 3);
    EXPECT_EQ(GlyphWidth(dc, 3), 0);
}

TEST_F(Primitives, StrokesAreFlatEndedLinesTheZoomDoesNotThicken) {
    Pass({1, 2});
    DrawVLine(dc, 100, 170, 40, 2);
    DrawHLine(dc, 100, 300, 500, 2);
    const auto lines = calls("line");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], json::parse(R"({"op":"line","x1":20,"y1":50,"x2":20,"y2":85,
        "pen":{"colour":0,"width":2,"style":"solid","ends":"flat"}})")) << lines[0];
    EXPECT_EQ((std::vector{lines[1]["x1"], lines[1]["x2"], lines[1]["y1"]}), (std::vector<json>{50, 150, 250}));
    EXPECT_EQ(lines[1]["pen"]["ends"], "flat");
    EXPECT_EQ((std::vector{calls("vline")[0]["x"], calls("vline")[0]["y1"]}), (std::vector<json>{40, 100}));
    EXPECT_EQ(calls("hline")[0]["x1"], 100);
}

TEST_F(Primitives, ADashedStrokeIsThickenedOnePixelAtATime) {
    Pass();
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
    Pass();
    dc.outputMode = OutputMode::Measuring;
    dc.exportRegion = {200, 100, 500, 400};
    DrawVLine(dc, 50, 500, 250, 2);
    DrawVLine(dc, 50, 300, 600, 2);  // right of the region
    DrawVLine(dc, 50, 300, 199, 2);
    DrawHLine(dc, 100, 600, 300, 2);
    DrawHLine(dc, 100, 300, 401, 2);  // above the region
    DrawHLine(dc, 100, 300, 99, 2);
    const auto v = calls("vline"), h = calls("hline");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ((std::vector{v[0]["y1"], v[0]["y2"]}), (std::vector<json>{100, 400}));
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ((std::vector{h[0]["x1"], h[0]["x2"]}), (std::vector<json>{200, 500}));
}

TEST_F(Primitives, BandsAndDiscsAreFilledInTheirColour) {
    Pass();
    DrawBand(dc, 100, 500, 300, 540, -10, RgbColour(0, 0, 255));  // a band may hang below its edge
    dc.draw.drawColour = RgbColour(128, 128, 128);
    DrawDisc(dc, 100, 200, 4);
    const auto polygons = calls("polygon"), ellipses = calls("ellipse");
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0]["points"], json({{100, 500}, {300, 540}, {300, 530}, {100, 490}}));
    EXPECT_EQ(polygons[0]["fill"], RgbColour(0, 0, 255));
    EXPECT_EQ(polygons[0]["outline"]["colour"], RgbColour(0, 0, 255));
    EXPECT_EQ(calls("band")[0]["t"], -10);
    ASSERT_EQ(ellipses.size(), 1u);
    EXPECT_EQ((std::vector{ellipses[0]["left"], ellipses[0]["top"], ellipses[0]["right"], ellipses[0]["bottom"]}),
              (std::vector<json>{96, 204, 104, 196}));
    EXPECT_EQ(ellipses[0]["fill"], RgbColour(128, 128, 128));
    EXPECT_EQ(calls("disc")[0]["r"], 4);
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

TEST(StaffMetrics, TheDefinitionGivesTheSpacesOfNormalAndSmallStaves) {
    const StaffMetrics m = DeriveStaffMetrics(20, {});
    EXPECT_EQ((std::array{m.halfSpace[0], m.staffSpace[0], m.staffHeight[0], m.octaveSpan[0], m.eighthSpace[0]}),
              (std::array{10, 20, 80, 70, 2}));
    EXPECT_DOUBLE_EQ(m.quarterSpace[0], 5.0);
    EXPECT_EQ((std::array{m.stepUnit, m.stepUnit3, m.stepUnit6}), (std::array{10, 30, 60}));
    EXPECT_EQ((std::array{m.halfSpace[1], m.staffSpace[1], m.staffHeight[1]}), (std::array{8, 16, 64}));  // × 16/20
    EXPECT_EQ(DeriveStaffMetrics(21, {}).staffSpace[0], 20);  // an odd definition loses its odd tenth
    // A damaged definition or ratio still gives a staff space: ledger lines and dots divide by it.
    for (int definition : {0, 1}) {
        EXPECT_GT(DeriveStaffMetrics(definition, {}).staffSpace[0], 0);
        EXPECT_GT(DeriveStaffMetrics(definition, {}).staffSpace[1], 0);
    }
    EXPECT_GT(DeriveStaffMetrics(20, {16, 0, 3, 0}).staffSpace[1], 0);
}

TEST(DrawingContext, DefinitionZoomAndRatiosGiveTheFourFontHeights) {
    DrawingContext dc;
    EXPECT_EQ(dc.fonts.baseFontHeight, 100);  // before any page
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 100);
    SetStaffDefinition(dc, 20);
    ApplyZoom(dc, {3, 4});
    EXPECT_EQ(dc.fonts.baseFontHeight, 160);
    EXPECT_EQ(dc.fonts.fontHeight, (SizeTable{{{120, 90}, {96, 72}}}));
    SetStaffDefinition(dc, 30);  // a later page of another definition keeps the zoom
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 180);
    ApplyZoom(dc, {0, 150});
    EXPECT_EQ(dc.zoom, (ZoomFraction{1, 99}));
    // Integer arithmetic multiplies first: 33 × 2 / 3, not 33 × (2 / 3).
    MusicFontSizes sizes;
    UpdateFontHeights(sizes, {1, 3}, {2, 3, 2, 3});
    EXPECT_EQ(sizes.fontHeight, (SizeTable{{{33, 22}, {22, 14}}}));
}

TEST(DrawingContext, RatiosAndTheMusicFaceRemeasureTheWidths) {
    DrawingContext dc;
    SetStaffDefinition(dc, 20);
    const int bravuraHead = dc.widths.noteheadHalfWidth[0][0];
    SetSizeRatios(dc, {1, 2, 1, 2}, 20);
    EXPECT_EQ(dc.metrics.halfSpace[1], 5);
    EXPECT_EQ(dc.fonts.fontHeight[1][1], 40);
    EXPECT_EQ(dc.widths.noteheadHalfWidth[1][1], bravuraHead / 2 / 2);
    SetMusicFace(dc, "Leland");
    ASSERT_NE(dc.musicFont, nullptr);
    EXPECT_EQ(dc.musicFont->family(), "Leland");
    EXPECT_NE(dc.widths.noteheadHalfWidth[0][0], bravuraHead);
    SetMusicFace(dc, "Orvelin 4.2");
    EXPECT_EQ(dc.musicFont->family(), "Bravura");
    EXPECT_EQ(dc.widths.noteheadHalfWidth[0][0], bravuraHead);
}

TEST(DrawingContext, BaselinesTakeTheCorrectionsShareOfTheAscentAndTheMetafileKeepsTheMeasuredOnes) {
    DrawingContext dc;
    RecordingCanvas screen;
    dc.canvas = &screen;
    SetStaffDefinition(dc, 20);
    dc.corrections.screen = 4;  // two points above the screen's default
    BeginDrawingPass(dc);
    EXPECT_EQ(dc.fonts.glyphAscent[0][0], static_cast<int>(std::lround(dc.musicFont->ascent() * 80)));
    EXPECT_LT(dc.fonts.glyphAscent[1][1], dc.fonts.glyphAscent[0][0]);
    for (int s = 0; s < 2; ++s)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(dc.fonts.glyphBaseline[s][c], dc.fonts.glyphAscent[s][c] - dc.fonts.glyphAscent[s][c] * 2 / 100);
    const SizeTable measured = dc.fonts.glyphBaseline;
    struct Unmeasurable : RecordingCanvas {
        TextExtent measureGlyphs(std::u32string_view, const GlyphFont&) override { return {}; }
    } metafile;
    dc.canvas = &metafile;
    dc.outputMode = OutputMode::Metafile;
    BeginDrawingPass(dc);
    EXPECT_EQ(dc.fonts.glyphBaseline, measured);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = 5, .printer = 3}, false), 3);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = -1, .printer = 3}, true), 3);
}

TEST(GlyphWidths, MeasuredAtTheBaseHeightAndScaledForCueAndSmallSizes) {
    const MusicFont* font = MusicFont::Installed(SmuflFamily::Bravura);
    ASSERT_NE(font, nullptr);
    const GlyphWidths w = MeasureNoteheadWidths(*font, 160, {});
    const int open = font->widthAt(203, 160), whole = font->widthAt(201, 160);
    const int half = open / 2, small = half * 16 / 20;
    EXPECT_EQ(w.noteheadHalfWidth, (SizeTable{{{half, half * 3 / 4}, {small, small * 3 / 4}}}));
    EXPECT_EQ(w.ledgerHalfLength[0][0], static_cast<int>(open * 0.6));
    EXPECT_EQ(w.wholeLedgerHalfLength[0], static_cast<int>(whole * 0.64));
    EXPECT_EQ(w.breveHalfWidth[0], static_cast<int>(whole * 1.1667 / 2));
    EXPECT_EQ(w.accidentalWidth[0][0], font->widthAt(211, 160));
    EXPECT_NEAR(w.noteheadHalfWidth[0][0], 12, 2);  // a notehead a little wider than a staff space
    EXPECT_NEAR(w.accidentalWidth[0][0], 20, 2);    // a sharp about one
    // Ledger lines reach the font's own extension beyond the heads.
    for (SmuflFamily family : {SmuflFamily::Bravura, SmuflFamily::Leland}) {
        const MusicFont* f = MusicFont::Installed(family);
        const double extension = *f->metadata().engravingDefault("legerLineExtension") * 20;
        const GlyphWidths l = MeasureNoteheadWidths(*f, 160, {}, LedgerFactorsOf(*f));
        EXPECT_NEAR(l.ledgerHalfLength[0][0], f->glyph(203)->advance * 10 + extension, 1.0);
        EXPECT_NEAR(l.wholeLedgerHalfLength[0], f->glyph(201)->advance * 10 + extension, 1.0);
    }
}

}  // namespace
}  // namespace notavera
