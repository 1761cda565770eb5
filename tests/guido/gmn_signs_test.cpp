// Clef strings, key arguments and meter strings of GUIDO tags.
#include <gtest/gtest.h>

#include "guido/gmn_signs.h"

namespace notavera {
namespace {

struct ClefCase {
    const char* text;
    unsigned number;
    int line;
};

class GmnClefs : public ::testing::TestWithParam<ClefCase> {};

TEST_P(GmnClefs, MapToClefNumberAndLine) {
    const auto clef = GmnClefFromString(GetParam().text);
    ASSERT_TRUE(clef);
    EXPECT_EQ(clef->number, GetParam().number);
    EXPECT_EQ(clef->line, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, GmnClefs,
    ::testing::Values(ClefCase{"g", 1, 0}, ClefCase{"g2", 1, 2}, ClefCase{"g1", 2, 1}, ClefCase{"f", 3, 0},
                      ClefCase{"f4", 3, 4}, ClefCase{"f3", 4, 3}, ClefCase{"f5", 10, 5}, ClefCase{"c", 7, 0},
                      ClefCase{"c3", 7, 3}, ClefCase{"c1", 5, 1}, ClefCase{"c2", 6, 2}, ClefCase{"c4", 8, 4},
                      ClefCase{"c5", 11, 5}, ClefCase{"g3", 7, 3}, ClefCase{"x", 7, 0}, ClefCase{"gg", 7, 0},
                      ClefCase{"treble", 1, 0}, ClefCase{"violino", 1, 0}, ClefCase{"violin", 1, 0},
                      ClefCase{"bass", 3, 0}, ClefCase{"basso", 3, 0}, ClefCase{"tenor", 8, 0},
                      ClefCase{"alto", 7, 0}, ClefCase{"perc", 12, 0}, ClefCase{"TAB", 7, 0},
                      // Octave marks leave the clef where it is; the G clef an octave down has its own number.
                      ClefCase{"g2-8", 9, 2}, ClefCase{"g-8", 9, 0}, ClefCase{"g+8", 1, 0}, ClefCase{"f4+8", 3, 4},
                      ClefCase{"G2", 1, 2}));

TEST(GmnClefs, NoneAsksForNoClef) { EXPECT_FALSE(GmnClefFromString("none")); }

struct KeyCase {
    const char* name;
    int count;
};

class GmnKeyNames : public ::testing::TestWithParam<KeyCase> {};

TEST_P(GmnKeyNames, GiveSharpsOrFlats) {
    GmnTagArguments args;
    GmnTagArgument a;
    a.type = 's';
    a.stringValue = GetParam().name;
    args.add(a);
    EXPECT_EQ(GmnKeyCount(args, 1), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    Names, GmnKeyNames,
    ::testing::Values(KeyCase{"G", 1}, KeyCase{"e", 1}, KeyCase{"D", 2}, KeyCase{"h", 2}, KeyCase{"A", 3},
                      KeyCase{"f#", 3}, KeyCase{"E", 4}, KeyCase{"c#", 4}, KeyCase{"H", 5}, KeyCase{"g#", 5},
                      KeyCase{"F#", 6}, KeyCase{"d#", 6}, KeyCase{"C#", 7}, KeyCase{"a#", 7}, KeyCase{"F", -1},
                      KeyCase{"d", -1}, KeyCase{"B&", -2}, KeyCase{"g", -2}, KeyCase{"E&", -3}, KeyCase{"c", -3},
                      KeyCase{"A&", -4}, KeyCase{"f", -4}, KeyCase{"D&", -5}, KeyCase{"b&", -5}, KeyCase{"G&", -6},
                      KeyCase{"e&", -6}, KeyCase{"C&", -7}, KeyCase{"a&", -7}, KeyCase{"C", 0}, KeyCase{"a", 0},
                      KeyCase{"B", 5}, KeyCase{"b", 2}, KeyCase{"free=f[0.5]c", 0}, KeyCase{"X", 0}));

TEST(GmnKeys, IntegersAreTheCountWithinSevenEitherWay) {
    for (const auto& [value, count] : {std::pair{2L, 2}, {-3L, -3}, {0L, 0}, {12L, 7}, {-40L, -7}}) {
        GmnTagArguments args;
        GmnTagArgument a;
        a.intValue = value;
        args.add(a);
        EXPECT_EQ(GmnKeyCount(args, 1), count) << value;
    }
    EXPECT_EQ(GmnKeyCount(GmnTagArguments{}, 1), 0);
}

TEST(GmnMeters, NumeralsSymbolsAndAddedNumerators) {
    const auto threeFour = GmnMeterFromString("3/4");
    ASSERT_TRUE(threeFour);
    EXPECT_FALSE(threeFour->symbol);
    EXPECT_EQ(threeFour->numerator, 3u);
    EXPECT_EQ(threeFour->denominator, 4u);
    const auto c = GmnMeterFromString("C");
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->symbol);
    EXPECT_EQ(c->symbolStyle, 0u);
    const auto cut = GmnMeterFromString("C/");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->symbolStyle, 1u);
    const auto added = GmnMeterFromString(" 3+3+2 / 8 ");
    ASSERT_TRUE(added);
    EXPECT_EQ(added->numerator, 8u);
    EXPECT_EQ(added->denominator, 8u);
    for (const char* bad : {"", "4", "4/0", "0/4", "4+2/16 + 2/8", "a/b", "1234/4", "3/"})
        EXPECT_FALSE(GmnMeterFromString(bad)) << bad;
}

}  // namespace
}  // namespace notavera
