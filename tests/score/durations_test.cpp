// Note lengths, their split into note values and the x advance of imported notes.
#include <gtest/gtest.h>

#include <limits>
#include <numeric>

#include "score/durations.h"

namespace notavera {
namespace {

TEST(Durations, LengthOfCodeWithDots) {
    // Halving a single 256th leaves nothing to add; more than three dots count as three; a multi-bar rest
    // (code 15) has no plain length.
    const std::tuple<unsigned, unsigned, int> lengths[] = {{0, 0, 1024}, {2, 0, 256}, {4, 0, 64}, {4, 1, 96},
                                                           {4, 2, 112},  {4, 3, 120}, {0, 3, 1920}, {10, 0, 1},
                                                           {10, 2, 1},   {9, 1, 3},   {4, 7, 120},  {15, 0, 0},
                                                           {11, 0, 0}};
    for (const auto& [code, dots, length] : lengths) EXPECT_EQ(NoteDuration(code, dots), length) << code << "." << dots;
}

TEST(Durations, SplitIntoNoteValuesAndAdvanceWithoutOverflow) {
    using Codes = std::vector<unsigned>;
    EXPECT_EQ(SplitDuration(96), (Codes{4, 5}));
    EXPECT_EQ(SplitDuration(21), (Codes{6, 8, 10}));  // an eighth of a triplet: 16 + 4 + 1 256ths
    EXPECT_EQ(SplitDuration(255), (Codes{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_TRUE(SplitDuration(0).empty());
    EXPECT_TRUE(SplitDuration(-64).empty());
    const Codes longer = SplitDuration(3000);  // beyond a longa the longa repeats
    ASSERT_GE(longer.size(), 3u);
    EXPECT_EQ(longer[1], 0u);
    const auto add = [](int sum, unsigned c) { return sum + NoteDuration(c, 0); };
    EXPECT_EQ(std::accumulate(longer.begin(), longer.end(), 0, add), 3000);
    EXPECT_EQ(DurationAdvance(1, 10), 2);  // a quarter (64) advances 16 step units: 10 / 4, truncated
    EXPECT_EQ(DurationAdvance(2'000'000'000, 100), std::numeric_limits<int>::max());
}

}  // namespace
}  // namespace notavera
