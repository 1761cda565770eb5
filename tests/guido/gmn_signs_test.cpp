// Clef strings, key arguments and meter strings of GUIDO tags.
#include <gtest/gtest.h>

#include <sstream>

#include "guido/gmn_signs.h"

namespace notavera {
namespace {

TEST(GmnSigns, ClefStringsMapToClefNumberAndLine) {
    // Octave marks leave the clef where it is; the G clef an octave down has its own number.
    std::istringstream clefs("g:1,0 g2:1,2 g1:2,1 f:3,0 f4:3,4 f3:4,3 f5:10,5 c:7,0 c3:7,3 c1:5,1 c2:6,2 c4:8,4 "
                             "c5:11,5 g3:7,3 x:7,0 gg:7,0 treble:1,0 violino:1,0 violin:1,0 bass:3,0 basso:3,0 "
                             "tenor:8,0 alto:7,0 perc:12,0 TAB:7,0 g2-8:9,2 g-8:9,0 g+8:1,0 f4+8:3,4 G2:1,2");
    for (std::string word; clefs >> word;) {
        const auto clef = GmnClefFromString(word.substr(0, word.find(':')));
        ASSERT_TRUE(clef) << word;
        EXPECT_EQ(word.substr(word.find(':') + 1), std::to_string(clef->number) + "," + std::to_string(clef->line));
    }
    EXPECT_FALSE(GmnClefFromString("none"));
}

TEST(GmnSigns, KeyNamesAndIntegersGiveSharpsOrFlats) {
    std::istringstream keys("G:1 e:1 D:2 h:2 A:3 f#:3 E:4 c#:4 H:5 g#:5 F#:6 d#:6 C#:7 a#:7 F:-1 d:-1 B&:-2 g:-2 "
                            "E&:-3 c:-3 A&:-4 f:-4 D&:-5 b&:-5 G&:-6 e&:-6 C&:-7 a&:-7 C:0 a:0 B:5 b:2 "
                            "free=f[0.5]c:0 X:0");
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
