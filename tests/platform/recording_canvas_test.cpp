// The recording canvas: calls kept as JSON in order, and measurements from the font files.
#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"

namespace notavera {
namespace {

using nlohmann::json;

TEST(RecordingCanvas, MeasuresTextAndGlyphsWithTheFontFiles) {
    RecordingCanvas c;
    const TextExtent serif = c.measureText("Allegro", TextFont{"Times New Roman", 100});
    EXPECT_GT(serif.width, 250);
    EXPECT_LT(serif.width, 450);
    EXPECT_NE(serif.width, c.measureText("Allegro", TextFont{"arial", 100}).width);  // the substituted faces
    EXPECT_GT(c.measureText("Allegro", TextFont{"Times New Roman", 100, 700}).width, serif.width);
    EXPECT_NEAR(serif.ascent, 89, 3);  // Liberation Serif: 0.891 em
    EXPECT_NEAR(serif.descent, 22, 3);
    EXPECT_EQ(c.measureText("", TextFont{"Arial", 100}).width, 0);
    const GlyphFont bravura{"Bravura", std::string(NOTAVERA_FONT_DIR) + "/bravura/bravura.otf", 80};
    EXPECT_EQ(c.measureGlyphs(U"\uE0A4", bravura).width, 24);  // 1.18 staff spaces of 20
    EXPECT_EQ(c.measureGlyphs(U"\uE0A4\uE0A4", bravura).width, 47);
    EXPECT_EQ(c.measureGlyphs(U"", bravura).ascent, 161);  // 2.012 em
    EXPECT_EQ(c.measureGlyphs(U"\U0010FFFF", bravura).width, 0);
    const TextExtent none = c.measureGlyphs(U"ab", GlyphFont{"None", "/nonexistent.otf", 100});
    EXPECT_EQ(none.width, 100);  // without a readable font it still answers
    EXPECT_EQ(none.ascent, 80);
    EXPECT_TRUE(c.calls().empty());
}

}  // namespace
}  // namespace notavera
