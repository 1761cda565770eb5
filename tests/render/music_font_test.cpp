// The music font: every code the system writes resolves to a glyph of both bundled fonts, with the geometry the
// drawing code relies on.
#include <gtest/gtest.h>

#include <cmath>

#include "render/music_font.h"
#include "render/music_font_table.h"
#include "render/opentype_metrics.h"

namespace notavera {
namespace {

std::string FontFile(SmuflFamily f) {
    return MusicFontDirectory() + (f == SmuflFamily::Leland ? "/leland/leland.otf" : "/bravura/bravura.otf");
}

class EachFont : public ::testing::TestWithParam<SmuflFamily> {
protected:
    const MusicFont& font() {
        const MusicFont* f = MusicFont::Installed(GetParam());
        EXPECT_NE(f, nullptr);
        return *f;
    }
};

TEST_P(EachFont, EveryNormalCodeHasAGlyphTheFontAndItsMetadataKnow) {
    const MusicFont& f = font();
    auto otf = OpenTypeMetrics::Load(FontFile(GetParam()));
    ASSERT_TRUE(otf);
    for (const MusicCode& c : NormalMusicCodes()) {
        const MusicGlyph* g = f.glyph(c.code);
        ASSERT_NE(g, nullptr) << "code " << int(c.code);
        EXPECT_TRUE(otf->hasGlyph(g->codePoint)) << g->name;
        // Only the empty notehead may be missing from the metadata: it has no ink to describe.
        if (g->name != "noteheadNull") {
            EXPECT_TRUE(f.metadata().hasGlyph(g->name)) << g->name;
        }
    }
}

TEST_P(EachFont, EveryAlternateCodeDrawsSomething) {
    const MusicFont& f = font();
    for (int code = 221; code <= 243; ++code) EXPECT_NE(f.glyph(code, true), nullptr) << code;
}

TEST_P(EachFont, CodePointsAgreeWithTheMetadataAdvances) {
    // A wrong code point next to a name would draw another glyph: where the metadata lists advances, the font
    // file's advance at our code point must be the named glyph's.
    const MusicFont& f = font();
    for (const MusicCode& c : NormalMusicCodes()) {
        const MusicGlyph* g = f.glyph(c.code);
        if (auto listed = f.metadata().advance(g->name)) {
            EXPECT_NEAR(g->advance, *listed, 0.01) << g->name;
        }
    }
    for (const AlternateMusicCode& c : AlternateMusicCodes()) {
        const MusicGlyph* g = f.glyph(c.code, true);
        if (auto listed = f.metadata().advance(g->name)) {
            EXPECT_NEAR(g->advance, *listed, 0.01) << g->name;
        }
    }
}

TEST_P(EachFont, BlackNoteheadIsAboutOneAndAFifthSpacesWideAndCentredOnItsLine) {
    const MusicGlyph* head = font().glyph(204);
    EXPECT_NEAR(head->advance, 1.18, 0.15);
    EXPECT_NEAR((head->box.sw.y + head->box.ne.y) / 2, 0.0, 0.05);
    EXPECT_NEAR(head->box.height(), 1.0, 0.15);
}

TEST_P(EachFont, GClefCurlsRoundTheLineItIsWrittenOn) {
    // The G clef spans from below the staff to above it and its origin is the G line: about 2.6 spaces below
    // the origin and 4.4 above.
    const MusicGlyph* clef = font().glyph(207);
    EXPECT_LT(clef->box.sw.y, -2.0);
    EXPECT_GT(clef->box.ne.y, 4.0);
    EXPECT_EQ(clef->offset.y, 0.0);
}

TEST_P(EachFont, TimeSignatureDigitsStandOnTheLineTheyAreWrittenOn) {
    const MusicGlyph* four = font().glyph('4');
    EXPECT_NEAR(four->box.sw.y + four->offset.y, 0.0, 0.05);
    EXPECT_NEAR(four->box.ne.y + four->offset.y, 2.0, 0.05);
}

TEST_P(EachFont, RepeatDotsStraddleTheMiddleLine) {
    const MusicGlyph* dots = font().glyph(90);
    EXPECT_NEAR(dots->box.sw.y + dots->offset.y, -(dots->box.ne.y + dots->offset.y), 0.01);
    EXPECT_NEAR(dots->box.ne.y + dots->offset.y, 0.7, 0.2);
}

TEST_P(EachFont, ArticulationsAreCentredOverTheNotehead) {
    const MusicFont& f = font();
    const double head = f.glyph(204)->advance;
    for (int code : {44, 58, 59, 60, 62, 107}) {
        const MusicGlyph* g = f.glyph(code);
        const double left = g->box.sw.x + g->offset.x, right = g->box.ne.x + g->offset.x;
        EXPECT_NEAR(left + right, head, 0.01) << code;
        EXPECT_NEAR(g->box.sw.y + g->offset.y, -(g->box.ne.y + g->offset.y), 0.01) << code;
    }
}

TEST_P(EachFont, SystemHeightIsEightStaffSpaces) {
    // A staff space of 20 units gives a system font 160 high: an em of 80, and a black notehead 1.18 × 20 wide.
    const MusicFont& f = font();
    EXPECT_DOUBLE_EQ(f.atHeight(160).emSize, 80.0);
    EXPECT_EQ(f.widthAt(204, 160), static_cast<int>(std::lround(f.glyph(204)->advance * 20)));
    EXPECT_EQ(f.widthAt(999, 160), 0);
}

INSTANTIATE_TEST_SUITE_P(Bundled, EachFont, ::testing::Values(SmuflFamily::Bravura, SmuflFamily::Leland));

TEST(MusicFontChoice, BravuraServesTheStoredDefaultAndUnknownFaces) {
    EXPECT_EQ(FamilyForFace("Orvelin 4.2"), SmuflFamily::Bravura);
    EXPECT_EQ(FamilyForFace("Some Other Font"), SmuflFamily::Bravura);
    EXPECT_EQ(FamilyForFace("leland"), SmuflFamily::Leland);
}

TEST(MusicFontChoice, BravuraDrawsTheAncientShapesLelandLacks) {
    const MusicFont* bravura = MusicFont::Installed(SmuflFamily::Bravura);
    const MusicFont* leland = MusicFont::Installed(SmuflFamily::Leland);
    EXPECT_EQ(bravura->glyph(233, true)->name, "medRenFlatSoftB");
    EXPECT_EQ(bravura->glyph(235, true)->name, "mensuralRestSemiminima");
    EXPECT_EQ(leland->glyph(233, true)->name, "accidentalFlat");
    EXPECT_EQ(leland->glyph(235, true)->name, "restQuarter");
    // A sharp has no ancient shape of its own: the modern one serves.
    EXPECT_EQ(bravura->glyph(231, true)->name, "accidentalSharp");
}

TEST(MusicFontChoice, MissingFolderIsRefused) {
    EXPECT_FALSE(MusicFont::Load(SmuflFamily::Bravura, "/nonexistent"));
}

TEST(CodeSubstitution, OldNotationLinesTakeTheAlternateSet) {
    EXPECT_EQ(SubstituteCode(213, true, false).code, 233);
    EXPECT_EQ(SubstituteCode(215, true, false).code, 235);
    EXPECT_TRUE(SubstituteCode(215, true, false).alternate);
    EXPECT_EQ(SubstituteCode(213, false, false).code, 213);
    EXPECT_EQ(SubstituteCode(107, true, false).code, 107);
}

TEST(CodeSubstitution, CueClefsOnOldNotationLinesAreWrittenAtNormalSize) {
    for (int clef : {207, 208, 209}) {
        const WrittenCode w = SubstituteCode(clef, true, true);
        EXPECT_EQ(w.code, clef + 34);
        EXPECT_TRUE(w.normalSize);
    }
    EXPECT_FALSE(SubstituteCode(207, true, false).normalSize);
    EXPECT_EQ(SubstituteCode(207, false, true).code, 207);
}

TEST(CodeSubstitution, CodesWithoutAnAlternateAreKept) {
    // 221 + 20 would be the cue G clef, and 244 + 20 is past the code range.
    EXPECT_EQ(SubstituteCode(221, true, false).code, 221);
    EXPECT_FALSE(SubstituteCode(221, true, false).alternate);
    EXPECT_EQ(SubstituteCode(244, true, false).code, 244);
    EXPECT_EQ(SubstituteCode(252, true, false).code, 252);
}

}  // namespace
}  // namespace notavera
