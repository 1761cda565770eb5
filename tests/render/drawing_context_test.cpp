// The drawing context follows page definitions, zoom, ratios and the chosen music font.
#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/drawing_context.h"

namespace notavera {
namespace {

TEST(DrawingContext, BeforeAnyPageTheBaseHeightIsOneHundred) {
    DrawingContext dc;
    EXPECT_EQ(dc.fonts.baseFontHeight, 100);
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 100);
}

TEST(DrawingContext, DefinitionAndZoomGiveTheFourHeights) {
    DrawingContext dc;
    SetStaffDefinition(dc, 20);
    ApplyZoom(dc, {3, 4});
    EXPECT_EQ(dc.fonts.baseFontHeight, 160);
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 120);
    EXPECT_EQ(dc.fonts.fontHeight[1][0], 96);
    EXPECT_EQ(dc.fonts.fontHeight[1][1], 72);
    // A later page of another definition keeps the zoom.
    SetStaffDefinition(dc, 30);
    EXPECT_EQ(dc.fonts.fontHeight[0][0], 180);
}

TEST(DrawingContext, ZoomIsClamped) {
    DrawingContext dc;
    ApplyZoom(dc, {0, 150});
    EXPECT_EQ(dc.zoom, (ZoomFraction{1, 99}));
}

TEST(DrawingContext, RatiosRebuildMetricsHeightsAndWidths) {
    DrawingContext dc;
    SetStaffDefinition(dc, 20);
    SetSizeRatios(dc, {1, 2, 1, 2}, 20);
    EXPECT_EQ(dc.metrics.halfSpace[1], 5);
    EXPECT_EQ(dc.fonts.fontHeight[1][1], 40);
    EXPECT_EQ(dc.widths.noteheadHalfWidth[1][1], dc.widths.noteheadHalfWidth[0][0] / 2 / 2);
}

TEST(DrawingContext, LelandIsSelectableAndMeasuredAgain) {
    DrawingContext dc;
    SetStaffDefinition(dc, 20);
    const int bravuraHead = dc.widths.noteheadHalfWidth[0][0];
    SetMusicFace(dc, "Leland");
    ASSERT_NE(dc.musicFont, nullptr);
    EXPECT_EQ(dc.musicFont->family(), "Leland");
    EXPECT_NE(dc.widths.noteheadHalfWidth[0][0], bravuraHead);
    SetMusicFace(dc, "Orvelin 4.2");
    EXPECT_EQ(dc.musicFont->family(), "Bravura");
    EXPECT_EQ(dc.widths.noteheadHalfWidth[0][0], bravuraHead);
}

TEST(DrawingContext, MetafilePassKeepsTheBaselinesOfTheMeasuringPass) {
    DrawingContext dc;
    RecordingCanvas screen;
    dc.canvas = &screen;
    SetStaffDefinition(dc, 20);
    BeginDrawingPass(dc);
    const SizeTable measured = dc.fonts.glyphBaseline;
    EXPECT_GT(measured[0][0], 0);

    struct Unmeasurable : RecordingCanvas {
        TextExtent measureGlyphs(std::u32string_view, const GlyphFont&) override { return {}; }
    } metafile;
    dc.canvas = &metafile;
    dc.outputMode = OutputMode::Metafile;
    BeginDrawingPass(dc);
    EXPECT_EQ(dc.fonts.glyphBaseline, measured);
}

}  // namespace
}  // namespace notavera
