// UTF-8 to code page 1252: Latin-1 letters, the typographic block at 0x80..0x9F, and what cannot be written.
#include "platform/ansi_text.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

struct AnsiCase {
    std::string utf8;
    std::string ansi;
};

class Utf8ToAnsiTest : public ::testing::TestWithParam<AnsiCase> {};

TEST_P(Utf8ToAnsiTest, WritesOneByteForEachCharacterRead) { EXPECT_EQ(Utf8ToAnsi(GetParam().utf8), GetParam().ansi); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8ToAnsiTest,
    ::testing::Values(AnsiCase{"Allegro", "Allegro"}, AnsiCase{"Clé de sol", "Cl\xE9 de sol"},
                      AnsiCase{"\xC3\xBF\xC2\xA0", "\xFF\xA0"},                        // ÿ and the no-break space
                      AnsiCase{"\xE2\x82\xAC \xC5\x93 \xE2\x80\x94", "\x80 \x9C \x97"},  // € œ —
                      AnsiCase{"\xE2\x99\xA9", "?"},                                    // ♩ is not in the code page
                      AnsiCase{"\xC2\x81", "?"},                                        // a C1 control the page lacks
                      AnsiCase{"a\xC3", "a?"},                                          // truncated sequence
                      AnsiCase{"\xC0\xAF", "?"},                                        // overlong '/'
                      AnsiCase{"\xED\xA0\x80", "?"},                                    // a surrogate
                      AnsiCase{"\x80x", "?x"},                                          // stray continuation byte
                      AnsiCase{"\xF0\x9D\x84\x9E", "?"},                                // 𝄞 outside the page
                      AnsiCase{"", ""}));

// Stored texts read back: every assigned byte becomes its character and returns to the same byte.
TEST(AnsiToUtf8, EveryAssignedByteRoundTrips) {
    for (int b = 1; b < 256; ++b) {
        const std::string ansi(1, static_cast<char>(b));
        const std::string utf8 = AnsiToUtf8(ansi);
        if (utf8 == "\xEF\xBF\xBD") continue;  // one of the five unassigned bytes
        EXPECT_EQ(Utf8ToAnsi(utf8), ansi) << b;
    }
}

TEST(AnsiToUtf8, DecodesTheTypographicBytesAndMarksTheUnassigned) {
    EXPECT_EQ(AnsiToUtf8("Cl\xE9 \x80 \x9C"), "Cl\xC3\xA9 \xE2\x82\xAC \xC5\x93");
    EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace notavera
