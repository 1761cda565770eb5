// Music font files, SMuFL metadata, the glyphs of the system codes, text faces and UTF-8 decoding.
#include "render/music_font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "render/music_font_table.h"
#include "render/opentype_metrics.h"
#include "render/smufl_metadata.h"
#include "render/text_faces.h"
#include "render/utf8.h"

namespace notavera {
namespace {

const std::string FontDir = MusicFontDirectory();

std::vector<std::uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(OpenTypeMetrics, ReadsTheBundledMusicFontAndATrueTypeTextFont) {
    auto m = OpenTypeMetrics::Load(FontDir + "/bravura/bravura.otf");
    ASSERT_TRUE(m);
    EXPECT_EQ(std::tuple(m->unitsPerEm(), m->ascender(), m->descender()), std::tuple(1000, 2012, 2012));
    EXPECT_EQ(m->advance(0xE0A4), 295);  // black notehead, 1.18 staff spaces
    EXPECT_TRUE(!m->advance(0x10FFFF) && m->hasGlyph(0xE050));
    auto text = OpenTypeMetrics::Load("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
    ASSERT_TRUE(text);
    EXPECT_EQ(std::pair(text->unitsPerEm(), text->advance(U' ')), std::pair(2048, std::optional(569)));
    EXPECT_TRUE(text->hasGlyph(U'é'));
}

TEST(OpenTypeMetrics, RefusesMissingCutAndSurvivesCorruptedFiles) {
    EXPECT_FALSE(OpenTypeMetrics::Load("/nonexistent.otf"));
    EXPECT_FALSE(OpenTypeMetrics::Parse({}));
    const std::vector<std::uint8_t> bytes = Bytes(FontDir + "/bravura/bravura.otf");
    ASSERT_GT(bytes.size(), 1000u);
    for (std::size_t size : {std::size_t{4}, std::size_t{12}, std::size_t{100}, std::size_t{300}, bytes.size() / 2})
        EXPECT_FALSE(OpenTypeMetrics::Parse(std::span(bytes.data(), size))) << size;
    // Stretches of 0xFF make offsets, counts and segment ends huge: read without crashing.
    for (std::size_t at = 12; at < 400; at += 16) {
        std::vector<std::uint8_t> damaged = bytes;
        std::fill_n(damaged.begin() + static_cast<std::ptrdiff_t>(at), 8, 0xFF);
        (void)OpenTypeMetrics::Parse(damaged);
    }
}

TEST(SmuflMetadata, KeepsWellFormedEntriesAndLeavesOutMalformedOnes) {
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
    ASSERT_TRUE(m && m->box("noteheadBlack"));
    EXPECT_EQ(m->fontName(), "Test");
    EXPECT_EQ(std::pair(m->box("noteheadBlack")->width(), m->box("noteheadBlack")->height()), std::pair(1.18, 1.0));
    EXPECT_EQ(std::pair(m->advance("noteheadBlack"), m->engravingDefault("stemThickness")),
              std::pair(std::optional(1.18), std::optional(0.12)));
    EXPECT_DOUBLE_EQ(m->anchor("noteheadBlack", "stemUpSE")->y, 0.168);
    EXPECT_TRUE(m->hasGlyph("noteheadBlack"));
    EXPECT_FALSE(m->box("broken") || m->box("text") || m->advance("bad") || m->anchor("noteheadBlack", "odd") ||
                 m->anchor("gClef", "stemUpSE") || m->engravingDefault("textFontFamily") || m->hasGlyph("gClef"));
}

TEST(SmuflMetadata, RefusesWhatIsNotAFontsMetadataAndReadsTheBundledOne) {
    for (const char* text : {"", "[1, 2]", R"({"glyphBBoxes": {}})", R"({"fontName": "Cut)"})
        EXPECT_FALSE(SmuflMetadata::Parse(text)) << text;
    EXPECT_FALSE(SmuflMetadata::Load("/nonexistent/metadata.json"));
    EXPECT_TRUE(SmuflMetadata::Parse(R"({"fontName": "Empty", "glyphBBoxes": 3})"));
    auto m = SmuflMetadata::Load(FontDir + "/bravura/metadata.json");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->fontName(), "Bravura");
    EXPECT_NEAR(*m->engravingDefault("stemThickness"), 0.12, 1e-9);
    EXPECT_NEAR(m->anchor("noteheadBlack", "stemUpSE")->x, 1.18, 1e-9);
}

class EachFont : public ::testing::TestWithParam<SmuflFamily> {
protected:
    const MusicFont& font() {
        const MusicFont* f = MusicFont::Installed(GetParam());
        EXPECT_NE(f, nullptr);
        return *f;
    }
};

TEST_P(EachFont, EveryCodeHasAGlyphTheFontFileAndItsMetadataKnowWithTheListedAdvance) {
    const MusicFont& f = font();
    auto otf = OpenTypeMetrics::Load(
        FontDir + (GetParam() == SmuflFamily::Leland ? "/leland/leland.otf" : "/bravura/bravura.otf"));
    ASSERT_TRUE(otf);
    // A wrong code point next to a name would draw another glyph: its advance would not be the named glyph's.
    const auto check = [&](const MusicGlyph* g, int code) {
        ASSERT_NE(g, nullptr) << "code " << code;
        EXPECT_TRUE(otf->hasGlyph(g->codePoint)) << g->name;
        // Only the empty notehead may be missing from the metadata: it has no ink to describe.
        if (g->name != "noteheadNull") {
            EXPECT_TRUE(f.metadata().hasGlyph(g->name)) << g->name;
        }
        if (auto listed = f.metadata().advance(g->name)) {
            EXPECT_NEAR(g->advance, *listed, 0.01) << g->name;
        }
    };
    for (const MusicCode& c : NormalMusicCodes()) check(f.glyph(c.code), c.code);
    for (const AlternateMusicCode& c : AlternateMusicCodes()) check(f.glyph(c.code, true), c.code);
    for (int code = 221; code <= 243; ++code) EXPECT_NE(f.glyph(code, true), nullptr) << code;
}

TEST_P(EachFont, RepeatDotsAndArticulationsAreCentredWhereTheSystemWritesThemAtEightSpacesAHeight) {
    const MusicFont& f = font();
    const double head = f.glyph(204)->advance;
    // Repeat dots straddle the middle line; articulations are centred over the notehead.
    for (int code : {90, 44, 58, 59, 60, 62, 107}) {
        const MusicGlyph* g = f.glyph(code);
        EXPECT_NEAR(g->box.sw.y + g->offset.y, -(g->box.ne.y + g->offset.y), 0.01) << code;
        if (code == 90) continue;
        EXPECT_NEAR(g->box.sw.x + g->box.ne.x + 2 * g->offset.x, head, 0.01) << code;
    }
    EXPECT_DOUBLE_EQ(f.atHeight(160).emSize, 80.0);
    EXPECT_EQ(f.widthAt(204, 160), static_cast<int>(std::lround(head * 20)));
    EXPECT_EQ(f.widthAt(999, 160), 0);
}

INSTANTIATE_TEST_SUITE_P(Bundled, EachFont, ::testing::Values(SmuflFamily::Bravura, SmuflFamily::Leland));

TEST(MusicFontChoice, BravuraServesTheStoredDefaultAndUnknownFacesAndDrawsTheAncientShapesLelandLacks) {
    EXPECT_EQ(FamilyForFace("Orvelin 4.2"), SmuflFamily::Bravura);
    EXPECT_EQ(FamilyForFace("Some Other Font"), SmuflFamily::Bravura);
    EXPECT_EQ(FamilyForFace("leland"), SmuflFamily::Leland);
    EXPECT_FALSE(MusicFont::Load(SmuflFamily::Bravura, "/nonexistent"));
    const MusicFont* bravura = MusicFont::Installed(SmuflFamily::Bravura);
    const MusicFont* leland = MusicFont::Installed(SmuflFamily::Leland);
    EXPECT_EQ(bravura->glyph(233, true)->name, "medRenFlatSoftB");
    EXPECT_EQ(bravura->glyph(235, true)->name, "mensuralRestSemiminima");
    EXPECT_EQ(leland->glyph(233, true)->name, "accidentalFlat");
    EXPECT_EQ(leland->glyph(235, true)->name, "restQuarter");
    EXPECT_EQ(bravura->glyph(231, true)->name, "accidentalSharp");  // a sharp has no ancient shape of its own
}

TEST(TextFaces, WindowsFacesBecomeTheirMetricCompatibleLiberationFacesAndOthersAreMeasuredLikeArial) {
    const std::string dir = "/usr/share/fonts/truetype/liberation/";
    EXPECT_EQ(
        (std::vector{ResolveTextFace("Times New Roman", 400, false).family, ResolveTextFace("ARIAL", 400, false).family,
                     ResolveTextFace("Courier New", 400, false).family}),
        (std::vector<std::string>{"Liberation Serif", "Liberation Sans", "Liberation Mono"}));
    EXPECT_EQ(ResolveTextFace("Times New Roman", 700, true).file, dir + "LiberationSerif-BoldItalic.ttf");
    EXPECT_EQ(ResolveTextFace("Arial", 400, true).file, dir + "LiberationSans-Italic.ttf");
    const InstalledTextFace other = ResolveTextFace("Chiffrage", 400, false);
    EXPECT_EQ(other.family, "Chiffrage");
    EXPECT_EQ(other.file, dir + "LiberationSans-Regular.ttf");
}

TEST(Utf8, ValidSequencesDecodeAndEachMalformedOneGivesOneReplacement) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"), U"aé€𝄞");
    EXPECT_EQ(DecodeUtf8("\xE9t\xE9"), U"\uFFFDt\uFFFD");  // Windows-1252 bytes
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");    // overlong lead byte
    EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF"), U"\uFFFD");      // overlong three-byte form
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD");      // surrogate
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), U"\uFFFD\uFFFD");    // cut at the end
    EXPECT_EQ(DecodeUtf8("\xE2(a"), U"\uFFFD(a");          // broken continuation
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), U"\uFFFD");  // beyond U+10FFFF
}

}  // namespace
}  // namespace notavera
