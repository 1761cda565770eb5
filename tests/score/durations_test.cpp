// Note lengths, their split into note values and the x advance of imported notes.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>

#include "score/durations.h"

namespace notavera {
namespace {

struct DurationCase {
    unsigned code;
    unsigned dots;
    int expected;
};

class NoteDurationTest : public ::testing::TestWithParam<DurationCase> {};

TEST_P(NoteDurationTest, LengthOfCodeWithDots) {
    EXPECT_EQ(NoteDuration(GetParam().code, GetParam().dots), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, NoteDurationTest,
                         ::testing::Values(DurationCase{0, 0, 1024}, DurationCase{2, 0, 256}, DurationCase{4, 0, 64},
                                           DurationCase{4, 1, 96}, DurationCase{4, 2, 112}, DurationCase{4, 3, 120},
                                           DurationCase{0, 3, 1920}, DurationCase{10, 0, 1},
                                           // Halving a single 256th leaves nothing to add.
                                           DurationCase{10, 2, 1}, DurationCase{9, 1, 3},
                                           // More than three dots count as three.
                                           DurationCase{4, 7, 120},
                                           // A multi-bar rest (code 15) has no plain length.
                                           DurationCase{15, 0, 0}, DurationCase{11, 0, 0}));

TEST(SplitDuration, PlainAndDottedValuesSplitIntoTheirParts) {
    EXPECT_EQ(SplitDuration(64), (std::vector<unsigned>{4}));
    EXPECT_EQ(SplitDuration(96), (std::vector<unsigned>{4, 5}));
    EXPECT_EQ(SplitDuration(1), (std::vector<unsigned>{10}));
}

TEST(SplitDuration, OddTupletLengthsEndInTheShortestValues) {
    // An eighth of a triplet: 256 / 12 = 21 256ths = 16 + 4 + 1.
    EXPECT_EQ(SplitDuration(21), (std::vector<unsigned>{6, 8, 10}));
    EXPECT_EQ(SplitDuration(255), (std::vector<unsigned>{3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(SplitDuration, LengthsBeyondALongaRepeatTheLonga) {
    const auto codes = SplitDuration(3000);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[0], 0u);
    EXPECT_EQ(codes[1], 0u);
    const int total = std::accumulate(codes.begin(), codes.end(), 0,
                                      [](int sum, unsigned c) { return sum + NoteDuration(c, 0); });
    EXPECT_EQ(total, 3000);
}

TEST(SplitDuration, NothingForNoLength) {
    EXPECT_TRUE(SplitDuration(0).empty());
    EXPECT_TRUE(SplitDuration(-64).empty());
}

TEST(DurationAdvance, QuarterAdvancesSixteenStepUnits) {
    EXPECT_EQ(DurationAdvance(64, 10), 160);
    EXPECT_EQ(DurationAdvance(1, 10), 2);  // 10 / 4, truncated
    EXPECT_EQ(DurationAdvance(0, 10), 0);
}

TEST(DurationAdvance, HugeLengthsDoNotOverflow) {
    EXPECT_EQ(DurationAdvance(2'000'000'000, 100), std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace notavera
