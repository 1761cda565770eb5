// The drawing context: staff metrics from the definition, the four font heights under zoom and ratios, glyph
// baselines, notehead, ledger and accidental widths measured on the chosen music font.
#include "render/drawing_context.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "platform/headless/recording_canvas.h"
#include "render/music_font.h"
#include "render/staff_metrics.h"

namespace notavera {
namespace {

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
