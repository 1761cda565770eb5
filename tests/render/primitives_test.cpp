// The drawing context and the primitives, observed through the recording canvas.
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
using Rows = std::vector<std::vector<int>>;

// The given fields of the recorded calls of one op, in order.
Rows RowsOf(const RecordingCanvas& canvas, const std::string& op, std::initializer_list<const char*> fields) {
    Rows out;
    for (const json& c : canvas.calls()) {
        if (c["op"] != op) continue;
        out.emplace_back();
        for (const char* f : fields) out.back().push_back(c[f].get<int>());
    }
    return out;
}

// A canvas that cannot measure, as a metafile: whatever it would answer must not be used.
struct Unmeasurable : RecordingCanvas {
    TextExtent measureGlyphs(std::u32string_view, const GlyphFont&) override { return {9999, 0, 0}; }
};

class Primitives : public ::testing::Test {
protected:
    void SetUp() override { pass(); }
    void pass(ZoomFraction zoom = {1, 1}) {
        dc.canvas = &canvas;
        SetStaffDefinition(dc, 20);
        ApplyZoom(dc, zoom);
        BeginDrawingPass(dc);
        canvas.clear();
    }
    Rows rows(const std::string& op, std::initializer_list<const char*> fields) const {
        return RowsOf(canvas, op, fields);
    }

    RecordingCanvas canvas;
    DrawingContext dc;
};

TEST_F(Primitives, AGlyphIsWrittenOnItsPointAtTheZoomAndInItsSizeAndOldNotationLinesWriteTheAlternates) {
    pass({3, 4});
    PutGlyph(dc, 501, 1000, 207);
    dc.draw.isSmallStaff = true;  // the small staff and a cue element on it take their ratios of the zoomed height
    PutGlyph(dc, 501, 1000, 204);
    dc.draw.isCueSize = true;
    PutGlyph(dc, 501, 1000, 204);
    EXPECT_EQ(rows("glyph", {"code", "x", "y", "fontHeight"}),
              (Rows{{207, 501, 1000, 120}, {204, 501, 1000, 96}, {204, 501, 1000, 72}}));
    EXPECT_EQ(rows("glyphRun", {"x", "y"})[0], (std::vector{375, 750}));
    EXPECT_DOUBLE_EQ(canvas.calls()[1]["em"].get<double>(), 60.0);
    EXPECT_EQ(canvas.calls()[3]["codePoints"][0], 0xE0A4);
    pass();  // old-notation lines write the alternates, and their cue clefs full size
    dc.draw.isSmallStaff = dc.draw.isCueSize = false;
    dc.draw.alternateGlyphs = true;
    for (int code : {213, 107}) PutGlyph(dc, 0, 0, code);
    dc.draw.isCueSize = true;
    for (int code : {208, 204}) PutGlyph(dc, 0, 0, code);
    EXPECT_EQ(rows("glyph", {"code", "fontHeight"}), (Rows{{233, 160}, {107, 160}, {242, 160}, {224, 120}}));
    EXPECT_EQ(canvas.calls()[1]["codePoints"][0], 0xE9E0);  // the medieval flat
}

TEST_F(Primitives, HeightCorrectionsCountFromEachDevicesDefault) {
    const auto written = [this](bool printing, int screen) {
        dc.printing = printing;
        dc.corrections.screen = screen;
        pass();
        PutGlyph(dc, 0, 1000, 204);
        return rows("glyphRun", {"y"}).at(0)[0];
    };
    EXPECT_EQ(written(false, 2), 1000);  // the defaults write glyphs exactly on their point
    EXPECT_EQ(written(true, 2), 1000);
    // Two points above the screen's default lower glyphs by 2 % of the ascent on the screen only.
    EXPECT_EQ(written(false, 4), 1000 - dc.fonts.glyphAscent[0][0] * 2 / 100);
    EXPECT_EQ(written(true, 4), 1000);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = 5, .printer = 3}, false), 3);
    EXPECT_EQ(EffectiveHeightCorrection({.screen = -1, .printer = 3}, true), 3);
}

TEST_F(Primitives, MetafilePassesSkipGlyphsOutsideTheVisibleRegionAndClipStrokesToTheExportRegion) {
    dc.outputMode = OutputMode::Metafile;
    dc.visibleRegion = {100, 0, 200, 3000};
    for (int x : {99, 100, 200, 201}) PutGlyph(dc, x, 500, 204);
    dc.outputMode = OutputMode::Normal;
    PutGlyph(dc, 999, 500, 204);
    EXPECT_EQ(rows("glyph", {"x"}), (Rows{{100}, {200}, {999}}));
    canvas.clear();  // and strokes are clipped to the export region
    dc.outputMode = OutputMode::Measuring;
    dc.exportRegion = {200, 100, 500, 400};
    for (int x : {250, 600, 199}) DrawVLine(dc, 50, 500, x, 2);  // only the first lies in the region
    for (int y : {300, 401, 99}) DrawHLine(dc, 100, 600, y, 2);
    EXPECT_EQ(rows("vline", {"x", "y1", "y2"}), (Rows{{250, 100, 400}}));
    EXPECT_EQ(rows("hline", {"x1", "x2", "y1"}), (Rows{{200, 500, 300}}));
}

TEST_F(Primitives, ACentredStringMovesLeftByHalfItsMeasuredWidthWhichTheMetafilePassReplays) {
    PutGlyphText(dc, 1000, 500, "12", true);
    const int width = canvas.measureGlyphs(U"\uE081\uE082", dc.musicFont->atHeight(160)).width;
    // Digits stand on their line: their SMuFL origin is a staff space higher.
    EXPECT_EQ(rows("glyphRun", {"x", "y"}).at(0), (std::vector{1000 - width / 2, 520}));
    EXPECT_EQ(canvas.calls()[0]["codes"], json({'1', '2'}));
    EXPECT_TRUE(canvas.calls()[0]["centred"].get<bool>());
    canvas.clear();
    dc.outputMode = OutputMode::Measuring;
    PutGlyphText(dc, 1000, 500, "3", true);
    PutGlyphText(dc, 2000, 500, "128", true);
    EXPECT_EQ(dc.outputMode, OutputMode::MeasuringText);
    EXPECT_EQ(dc.centredWidths.size(), 2u);
    Unmeasurable metafile;
    dc.canvas = &metafile;
    dc.outputMode = OutputMode::Metafile;
    PutGlyphText(dc, 1000, 500, "3", true);
    PutGlyphText(dc, 2000, 500, "128", true);
    EXPECT_EQ(RowsOf(metafile, "glyphRun", {"x"}), rows("glyphRun", {"x"}));
    EXPECT_EQ(dc.centredWidths.size(), 0u);
}

TEST_F(Primitives, TheReplayQueueHoldsItsCapacityAndTheFontSuppliesTheRest) {
    dc.outputMode = OutputMode::Measuring;
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    EXPECT_EQ(dc.centredWidths.size(), CentredWidthQueue::Capacity);
    dc.outputMode = OutputMode::Metafile;
    canvas.clear();
    for (int i = 0; i < 1300; ++i) PutGlyphText(dc, 0, 0, "7", true);
    const Rows runs = rows("glyphRun", {"x"});
    ASSERT_EQ(runs.size(), 1300u);
    EXPECT_EQ(runs.front(), runs.back());
}

TEST_F(Primitives, StrokesAreFlatEndedLinesTheZoomDoesNotThickenAndDashedOnesAPixelAtATime) {
    pass({1, 2});
    DrawVLine(dc, 100, 170, 40, 2);
    DrawHLine(dc, 100, 300, 500, 2);
    EXPECT_EQ(rows("line", {"x1", "y1", "x2", "y2"}), (Rows{{20, 50, 20, 85}, {50, 250, 150, 250}}));
    EXPECT_EQ(canvas.calls()[1]["pen"], json::parse(R"({"colour":0,"width":2,"style":"solid","ends":"flat"})"));
    EXPECT_EQ(canvas.calls()[3]["pen"]["ends"], "flat");
    EXPECT_EQ(rows("vline", {"x", "y1"}), (Rows{{40, 100}}));
    EXPECT_EQ(rows("hline", {"x1"}), (Rows{{100}}));
    pass();
    dc.draw.lineStyle = 1;
    dc.thickness.drawingLineMedium = 2;
    DrawVLine(dc, 0, 80, 1000, 3);
    const Rows lines = rows("line", {"x1"});
    ASSERT_EQ(lines.size(), 6u);
    for (const json& l : canvas.calls()) {
        if (l["op"] != "line") continue;
        EXPECT_EQ(std::pair(l["pen"]["style"], l["pen"]["width"]), std::pair(json("dash"), json(0)));
    }
    EXPECT_EQ(lines[1][0] - lines[0][0], std::lround(canvas.pixelWidth()));
}

TEST_F(Primitives, BandsAndDiscsAreFilledInTheirColourAndNothingIsDrawnWithoutACanvas) {
    DrawBand(dc, 100, 500, 300, 540, -10, RgbColour(0, 0, 255));  // a band may hang below its edge
    dc.draw.drawColour = RgbColour(128, 128, 128);
    DrawDisc(dc, 100, 200, 4);
    const json& polygon = canvas.calls()[1];
    EXPECT_EQ(polygon["points"], json({{100, 500}, {300, 540}, {300, 530}, {100, 490}}));
    EXPECT_EQ(std::pair(polygon["fill"], polygon["outline"]["colour"]),
              std::pair(json(RgbColour(0, 0, 255)), json(RgbColour(0, 0, 255))));
    EXPECT_EQ(rows("band", {"t"}), (Rows{{-10}}));
    EXPECT_EQ(rows("ellipse", {"left", "top", "right", "bottom", "fill"}), (Rows{{96, 204, 104, 196, 0x808080}}));
    EXPECT_EQ(rows("disc", {"r"}), (Rows{{4}}));
    DrawingContext bare;
    PutGlyph(bare, 0, 0, 204);
    PutGlyphText(bare, 0, 0, "12", true);
    DrawVLine(bare, 0, 10, 0, 2);
    DrawHLine(bare, 0, 10, 0, 2);
    DrawBand(bare, 0, 0, 10, 10, 2, 0);
    DrawDisc(bare, 0, 0, 3);
    EXPECT_GT(GlyphWidth(bare, 204), 0);
}

TEST(DrawingContext, TheDefinitionGivesTheSpacesOfNormalAndSmallStaves) {
    const StaffMetrics m = DeriveStaffMetrics(20, {});
    EXPECT_EQ((std::array{m.halfSpace[0], m.staffSpace[0], m.staffHeight[0], m.octaveSpan[0], m.eighthSpace[0],
                          m.stepUnit, m.stepUnit3, m.stepUnit6, m.halfSpace[1], m.staffSpace[1], m.staffHeight[1]}),
              (std::array{10, 20, 80, 70, 2, 10, 30, 60, 8, 16, 64}));  // small: × 16/20
    EXPECT_DOUBLE_EQ(m.quarterSpace[0], 5.0);
    EXPECT_EQ(DeriveStaffMetrics(21, {}).staffSpace[0], 20);  // an odd definition loses its odd tenth
    // A damaged definition or ratio still gives a staff space: ledger lines and dots divide by it.
    for (const StaffMetrics& d :
         {DeriveStaffMetrics(0, {}), DeriveStaffMetrics(1, {}), DeriveStaffMetrics(20, {16, 0, 3, 0})})
        EXPECT_TRUE(d.staffSpace[0] > 0 && d.staffSpace[1] > 0);
}

TEST(DrawingContext, DefinitionZoomAndRatiosGiveTheFourFontHeightsAndTheWidths) {
    DrawingContext dc;
    EXPECT_EQ(dc.fonts.baseFontHeight, 100);  // before any page
    SetStaffDefinition(dc, 20);
    ApplyZoom(dc, {3, 4});
    EXPECT_EQ(dc.fonts.baseFontHeight, 160);
    EXPECT_EQ(dc.fonts.fontHeight, (SizeTable{{{120, 90}, {96, 72}}}));
    SetStaffDefinition(dc, 30);  // a later page of another definition keeps the zoom
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 180);
    ApplyZoom(dc, {0, 150});
    EXPECT_EQ(dc.zoom, (ZoomFraction{1, 99}));
    MusicFontSizes sizes;  // integer arithmetic multiplies first: 33 × 2 / 3, not 33 × (2 / 3)
    UpdateFontHeights(sizes, {1, 3}, {2, 3, 2, 3});
    EXPECT_EQ(sizes.fontHeight, (SizeTable{{{33, 22}, {22, 14}}}));
    ApplyZoom(dc, {1, 1});
    SetStaffDefinition(dc, 20);
    const int bravuraHead = dc.widths.noteheadHalfWidth[0][0];
    SetSizeRatios(dc, {1, 2, 1, 2}, 20);
    EXPECT_EQ((std::vector{dc.metrics.halfSpace[1], dc.fonts.fontHeight[1][1], dc.widths.noteheadHalfWidth[1][1]}),
              (std::vector{5, 40, bravuraHead / 2 / 2}));
    SetMusicFace(dc, "Leland");
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
    Unmeasurable metafile;
    dc.canvas = &metafile;
    dc.outputMode = OutputMode::Metafile;
    BeginDrawingPass(dc);
    EXPECT_EQ(dc.fonts.glyphBaseline, measured);
}

TEST(DrawingContext, GlyphWidthsAreMeasuredAtTheBaseHeightAndLedgerLinesReachTheFontsExtension) {
    const MusicFont* font = MusicFont::Installed(SmuflFamily::Bravura);
    const GlyphWidths w = MeasureNoteheadWidths(*font, 160, {});
    const int open = font->widthAt(203, 160), whole = font->widthAt(201, 160);
    const int half = open / 2, small = half * 16 / 20;
    EXPECT_EQ(w.noteheadHalfWidth, (SizeTable{{{half, half * 3 / 4}, {small, small * 3 / 4}}}));
    EXPECT_EQ((std::vector{w.ledgerHalfLength[0][0], w.wholeLedgerHalfLength[0], w.breveHalfWidth[0],
                           w.accidentalWidth[0][0]}),
              (std::vector{static_cast<int>(open * 0.6), static_cast<int>(whole * 0.64),
                           static_cast<int>(whole * 1.1667 / 2), font->widthAt(211, 160)}));
    EXPECT_NEAR(half, 12, 2);                     // a notehead a little wider than a staff space
    EXPECT_NEAR(w.accidentalWidth[0][0], 20, 2);  // a sharp about one
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
