// Reading a SMuFL font's metadata: well-formed entries are kept, malformed ones left out, bad files refused.
#include <gtest/gtest.h>

#include "render/smufl_metadata.h"
#include "render/music_font.h"

namespace notavera {
namespace {

TEST(SmuflMetadata, KeepsWellFormedEntries) {
    auto m = SmuflMetadata::Parse(R"({
        "fontName": "Test",
        "glyphBBoxes": {
            "noteheadBlack": {"bBoxNE": [1.18, 0.5], "bBoxSW": [0, -0.5]},
            "broken": {"bBoxNE": [1.18], "bBoxSW": [0, -0.5]},
            "text": {"bBoxNE": ["a", 1], "bBoxSW": [0, 0]}
        },
        "glyphAdvanceWidths": {"noteheadBlack": 1.18, "bad": "wide"},
        "glyphsWithAnchors": {"noteheadBlack": {"stemUpSE": [1.18, 0.168], "odd": 3}},
        "engravingDefaults": {"stemThickness": 0.12, "textFontFamily": ["serif"]}
    })");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->fontName(), "Test");
    ASSERT_TRUE(m->box("noteheadBlack"));
    EXPECT_DOUBLE_EQ(m->box("noteheadBlack")->width(), 1.18);
    EXPECT_DOUBLE_EQ(m->box("noteheadBlack")->height(), 1.0);
    EXPECT_FALSE(m->box("broken"));
    EXPECT_FALSE(m->box("text"));
    EXPECT_EQ(m->advance("noteheadBlack"), 1.18);
    EXPECT_FALSE(m->advance("bad"));
    EXPECT_DOUBLE_EQ(m->anchor("noteheadBlack", "stemUpSE")->y, 0.168);
    EXPECT_FALSE(m->anchor("noteheadBlack", "odd"));
    EXPECT_FALSE(m->anchor("gClef", "stemUpSE"));
    EXPECT_EQ(m->engravingDefault("stemThickness"), 0.12);
    EXPECT_FALSE(m->engravingDefault("textFontFamily"));
    EXPECT_TRUE(m->hasGlyph("noteheadBlack"));
    EXPECT_FALSE(m->hasGlyph("gClef"));
}

TEST(SmuflMetadata, RefusesWhatIsNotAFontsMetadata) {
    EXPECT_FALSE(SmuflMetadata::Parse(""));
    EXPECT_FALSE(SmuflMetadata::Parse("[1, 2]"));
    EXPECT_FALSE(SmuflMetadata::Parse(R"({"glyphBBoxes": {}})"));
    EXPECT_FALSE(SmuflMetadata::Parse(R"({"fontName": "Cut)"));
    EXPECT_FALSE(SmuflMetadata::Load("/nonexistent/metadata.json"));
    EXPECT_TRUE(SmuflMetadata::Parse(R"({"fontName": "Empty", "glyphBBoxes": 3})"));
}

TEST(SmuflMetadata, ReadsTheBundledEngravingDefaults) {
    auto m = SmuflMetadata::Load(MusicFontDirectory() + "/bravura/metadata.json");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->fontName(), "Bravura");
    EXPECT_NEAR(*m->engravingDefault("stemThickness"), 0.12, 1e-9);
    EXPECT_NEAR(m->anchor("noteheadBlack", "stemUpSE")->x, 1.18, 1e-9);
}

}  // namespace
}  // namespace notavera
