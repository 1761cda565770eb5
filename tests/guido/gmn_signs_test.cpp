// Clef strings, key arguments and meter strings of GUIDO tags.
#include <gtest/gtest.h>

#include <sstream>

#include "guido/gmn_signs.h"

namespace notavera {
namespace {

TEST(GmnSigns, ClefStringsMapToClefNumberAndLine) {
    // Octave marks leave the clef where it is; the G clef an octave down has its own number.
    std::istringstream clefs("g:1,0 g1:2,1 f3:4,3 f5:10,5 c1:5,1 c2:6,2 c4:8,4 c5:11,5 g3:7,3 x:7,0 gg:7,0 "
                             "treble:1,0 bass:3,0 tenor:8,0 perc:12,0 g2-8:9,2 g+8:1,0 G2:1,2");
    for (std::string word; clefs >> word;) {
        const auto clef = GmnClefFromString(word.substr(0, word.find(':')));
        ASSERT_TRUE(clef) << word;
        EXPECT_EQ(word.substr(word.find(':') + 1), std::to_string(clef->number) + "," + std::to_string(clef->line));
    }
    EXPECT_FALSE(GmnClefFromString("none"));
}

TEST(GmnSigns, KeyNamesAndIntegersGiveSharpsOrFlats) {
    // Major keys in capitals, minor ones in small letters; H and B are both the note B.
    std::istringstream keys("G:1 e:1 h:2 f#:3 H:5 C#:7 a#:7 F:-1 B&:-2 g:-2 c:-3 C&:-7 a&:-7 C:0 a:0 B:5 b:2 X:0");
    for (std::string word; keys >> word;) {
        GmnTagArguments args;
        GmnTagArgument a;
        a.type = 's';
        a.stringValue = word.substr(0, word.rfind(':'));
        args.add(a);
        EXPECT_EQ(std::to_string(GmnKeyCount(args, 1)), word.substr(word.rfind(':') + 1)) << word;
    }
    for (const auto& [value, count] : {std::pair{2L, 2}, {-3L, -3}, {0L, 0}, {12L, 7}, {-40L, -7}}) {
        GmnTagArguments args;
        GmnTagArgument a;
        a.intValue = value;
        args.add(a);
        EXPECT_EQ(GmnKeyCount(args, 1), count) << value;  // within seven either way
    }
    EXPECT_EQ(GmnKeyCount(GmnTagArguments{}, 1), 0);
}

TEST(GmnSigns, MetersAreNumeralsSymbolsOrAddedNumerators) {
    const auto threeFour = GmnMeterFromString("3/4");
    ASSERT_TRUE(threeFour);
    EXPECT_FALSE(threeFour->symbol);
    EXPECT_EQ(threeFour->numerator, 3u);
    EXPECT_EQ(threeFour->denominator, 4u);
    const auto c = GmnMeterFromString("C");
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->symbol);
    EXPECT_EQ(c->symbolStyle, 0u);
    EXPECT_EQ(GmnMeterFromString("C/")->symbolStyle, 1u);
    const auto added = GmnMeterFromString(" 3+3+2 / 8 ");
    ASSERT_TRUE(added);
    EXPECT_EQ(added->numerator, 8u);
    EXPECT_EQ(added->denominator, 8u);
    for (const char* bad : {"", "4", "4/0", "0/4", "4+2/16 + 2/8", "a/b", "1234/4", "3/"})
        EXPECT_FALSE(GmnMeterFromString(bad)) << bad;
}

}  // namespace
}  // namespace notavera
