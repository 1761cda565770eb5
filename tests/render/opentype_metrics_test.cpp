// Reading units per em, vertical metrics and advances from font files, and refusing damaged ones.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "render/opentype_metrics.h"
#include "render/music_font.h"

namespace notavera {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string BravuraFile = MusicFontDirectory() + "/bravura/bravura.otf";

TEST(OpenTypeMetrics, ReadsTheBundledMusicFont) {
    auto m = OpenTypeMetrics::Load(BravuraFile);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->unitsPerEm(), 1000);
    EXPECT_EQ(m->ascender(), 2012);
    EXPECT_EQ(m->descender(), 2012);
    EXPECT_EQ(m->advance(0xE0A4), 295);  // black notehead, 1.18 staff spaces
    EXPECT_FALSE(m->advance(0x10FFFF));
    EXPECT_TRUE(m->hasGlyph(0xE050));
}

TEST(OpenTypeMetrics, ReadsATrueTypeTextFont) {
    auto m = OpenTypeMetrics::Load("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->unitsPerEm(), 2048);
    EXPECT_EQ(m->advance(U' '), 569);
    EXPECT_TRUE(m->hasGlyph(U'é'));
}

TEST(OpenTypeMetrics, RefusesMissingAndDamagedFiles) {
    EXPECT_FALSE(OpenTypeMetrics::Load("/nonexistent.otf"));
    EXPECT_FALSE(OpenTypeMetrics::Parse({}));
    const std::vector<std::uint8_t> bytes = Bytes(BravuraFile);
    ASSERT_GT(bytes.size(), 1000u);
    // Every cut of the table directory, and cuts through the tables themselves, must be refused cleanly.
    for (std::size_t size : {std::size_t{4}, std::size_t{12}, std::size_t{100}, std::size_t{300}, bytes.size() / 2}) {
        EXPECT_FALSE(OpenTypeMetrics::Parse(std::span(bytes.data(), size))) << size;
    }
}

TEST(OpenTypeMetrics, SurvivesCorruptedTables) {
    std::vector<std::uint8_t> bytes = Bytes(BravuraFile);
    ASSERT_FALSE(bytes.empty());
    // Overwrite stretches of the file with 0xFF: offsets, counts and segment ends all become huge.
    for (std::size_t at = 12; at < 400; at += 16) {
        std::vector<std::uint8_t> damaged = bytes;
        for (std::size_t i = at; i < at + 8 && i < damaged.size(); ++i) damaged[i] = 0xFF;
        (void)OpenTypeMetrics::Parse(damaged);
    }
    SUCCEED();
}

}  // namespace
}  // namespace notavera
