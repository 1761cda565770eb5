// Staff metrics, music-font heights, glyph baselines and measured glyph widths.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless/recording_canvas.h"
#include "render/music_font.h"
#include "render/staff_metrics.h"

namespace notavera {
namespace {

TEST(StaffMetrics, DefinitionOfTwentyGivesTwoMillimetreSpaces) {
    const StaffMetrics m = DeriveStaffMetrics(20, {});
    EXPECT_EQ(m.halfSpace[0], 10);
    EXPECT_EQ(m.staffSpace[0], 20);
    EXPECT_EQ(m.staffHeight[0], 80);
    EXPECT_EQ(m.octaveSpan[0], 70);
    EXPECT_DOUBLE_EQ(m.quarterSpace[0], 5.0);
    EXPECT_EQ(m.eighthSpace[0], 2);
    EXPECT_EQ(m.stepUnit, 10);
    EXPECT_EQ(m.stepUnit3, 30);
    EXPECT_EQ(m.stepUnit6, 60);
    // Small staff: 10 × 16 / 20.
    EXPECT_EQ(m.halfSpace[1], 8);
    EXPECT_EQ(m.staffSpace[1], 16);
    EXPECT_EQ(m.staffHeight[1], 64);
}

TEST(StaffMetrics, OddDefinitionLosesItsOddTenth) {
    const StaffMetrics m = DeriveStaffMetrics(21, {});
    EXPECT_EQ(m.halfSpace[0], 10);
    EXPECT_EQ(m.staffSpace[0], 20);
}

TEST(StaffMetrics, DamagedDefinitionStillGivesAStaffSpace) {
    // Ledger lines and dots take the height modulo the staff space.
    for (int definition : {0, 1}) {
        const StaffMetrics m = DeriveStaffMetrics(definition, {});
        EXPECT_GT(m.staffSpace[0], 0);
        EXPECT_GT(m.staffSpace[1], 0);
    }
    EXPECT_GT(DeriveStaffMetrics(20, {16, 0, 3, 0}).staffSpace[1], 0);
}

TEST(FontHeights, ZoomThreeQuartersOnDefinitionTwenty) {
    MusicFontSizes sizes;
    sizes.baseFontHeight = DeriveStaffMetrics(20, {}).staffSpace[0] * 8;
    UpdateFontHeights(sizes, {3, 4}, {});
    EXPECT_EQ(sizes.fontHeight[0][0], 120);
    EXPECT_EQ(sizes.fontHeight[0][1], 90);
    EXPECT_EQ(sizes.fontHeight[1][0], 96);
    EXPECT_EQ(sizes.fontHeight[1][1], 72);
}

TEST(FontHeights, IntegerArithmeticMultipliesFirst) {
    MusicFontSizes sizes;
    sizes.baseFontHeight = 100;
    UpdateFontHeights(sizes, {1, 3}, {2, 3, 2, 3});
    EXPECT_EQ(sizes.fontHeight[0][0], 33);
    EXPECT_EQ(sizes.fontHeight[0][1], 22);  // 33 × 2 / 3, not 33 × (2 / 3)
    EXPECT_EQ(sizes.fontHeight[1][1], 14);
}

class Baselines : public ::testing::Test {
protected:
    void SetUp() override {
        font = MusicFont::Installed(SmuflFamily::Bravura);
        ASSERT_NE(font, nullptr);
        sizes.baseFontHeight = 160;
        UpdateFontHeights(sizes, {1, 1}, {});
    }
    const MusicFont* font = nullptr;
    MusicFontSizes sizes;
    RecordingCanvas canvas;
};

TEST_F(Baselines, CorrectionLowersTheBaselineOffsetByThatShareOfTheAscent) {
    MeasureGlyphBaselines(sizes, canvas, *font, 2);
    const int ascent = sizes.glyphAscent[0][0];
    EXPECT_EQ(ascent, static_cast<int>(std::lround(font->ascent() * 80)));
    EXPECT_EQ(sizes.glyphBaseline[0][0], ascent - ascent * 2 / 100);
    EXPECT_LT(sizes.glyphBaseline[1][1], sizes.glyphBaseline[0][0]);
}

TEST_F(Baselines, NoCorrectionPutsTheBaselineOnTheWrittenPoint) {
    MeasureGlyphBaselines(sizes, canvas, *font, 0);
    for (int s = 0; s < 2; ++s) {
        for (int c = 0; c < 2; ++c) EXPECT_EQ(sizes.glyphBaseline[s][c], sizes.glyphAscent[s][c]);
    }
}

TEST(GlyphWidths, MeasuredAtTheBaseHeightAndCopiedForCueAndSmallSizes) {
    const MusicFont* font = MusicFont::Installed(SmuflFamily::Bravura);
    ASSERT_NE(font, nullptr);
    const GlyphWidths w = MeasureNoteheadWidths(*font, 160, {});
    const int open = font->widthAt(203, 160);
    const int whole = font->widthAt(201, 160);
    EXPECT_EQ(w.noteheadHalfWidth[0][0], open / 2);
    EXPECT_EQ(w.noteheadHalfWidth[0][1], open / 2 * 3 / 4);
    EXPECT_EQ(w.noteheadHalfWidth[1][0], open / 2 * 16 / 20);
    EXPECT_EQ(w.noteheadHalfWidth[1][1], open / 2 * 16 / 20 * 3 / 4);
    EXPECT_EQ(w.ledgerHalfLength[0][0], static_cast<int>(open * 0.6));
    EXPECT_EQ(w.wholeLedgerHalfLength[0], static_cast<int>(whole * 0.64));
    EXPECT_EQ(w.breveHalfWidth[0], static_cast<int>(whole * 1.1667 / 2));
    EXPECT_EQ(w.accidentalWidth[0][0], font->widthAt(211, 160));
    // A notehead a little wider than a staff space, a sharp about one.
    EXPECT_NEAR(w.noteheadHalfWidth[0][0], 12, 2);
    EXPECT_NEAR(w.accidentalWidth[0][0], 20, 2);
}

}  // namespace
}  // namespace notavera
