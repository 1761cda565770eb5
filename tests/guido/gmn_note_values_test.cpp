// Writing GUIDO durations with the score's note values: binary sums value by value, tuplets as one value
// with its proportion, and the limits that keep hostile durations in bounds.
#include <gtest/gtest.h>

#include <string>

#include "guido/gmn_note_values.h"

namespace notavera {
namespace {

// "code:num/den" per value, e.g. "5:3/2 " for a triplet eighth.
std::string Written(long n, long d) {
    std::string s;
    for (const auto& v : GmnWrittenValues(GmnRational(n, d)))
        s += std::to_string(v.code) + std::string(v.dots, '.') + ":" + std::to_string(v.tupletNum) + "/" + std::to_string(v.tupletDen) + " ";
    return s;
}

TEST(GmnNoteValues, WriteTheDuration) {
    // A proportion beyond 99 is avoided by plain values first; where none helps the value is cut to 256ths, but
    // never to nothing. A single dotted value is preferred to tied plain ones.
    const std::tuple<long, long, const char*> cases[] = {
        {1, 1, "2:1/1 "},   {1, 4, "4:1/1 "},   {3, 8, "4.:1/1 "}, {1, 256, "10:1/1 "},
        {4, 1, "0:1/1 "},   {323, 32, "0:1/1 0:1/1 1:1/1 6:1/1 7:1/1 "}, {1, 12, "5:3/2 "},
        {1, 6, "4:3/2 "},   {1, 20, "6:5/4 "},  {1, 28, "6:7/4 "},      {3, 104, "7:13/12 "},
        {1, 384, "10:3/2 "}, {1, 512, "10:2/1 "}, {7, 24, "3:12/7 "},   {13, 3, "0:1/1 3:3/2 "},
        {0, 1, ""},         {-1, 4, ""},        {1, 101, "9:1/1 "},     {1, 1000, "10:1/1 "},
        {121, 384, "4:1/1 5:48/25 "}, {113, 384, "4:1/1 6:24/17 "},
        {7, 16, "4..:1/1 "}, {3, 256, "9.:1/1 "}, {5, 8, "3:1/1 5:1/1 "}, {15, 16, "3:1/1 4:1/1 5:1/1 6:1/1 "}};
    for (const auto& [n, d, written] : cases) EXPECT_EQ(Written(n, d), written) << n << "/" << d;
}

TEST(GmnNoteValues, EnormousDurationsStopAtTheLimit) {
    EXPECT_EQ(GmnWrittenValues(GmnRational(2147483647, 1)).size(), static_cast<std::size_t>(maxGmnPieces));
    EXPECT_EQ(GmnWrittenValues(GmnRational(2147483647, 3)).size(), static_cast<std::size_t>(maxGmnPieces));
}

TEST(GmnRationals, ResultsBeyond32BitsStayOrderedInsteadOfWrapping) {
    const GmnRational big(2147483647, 3);
    const GmnRational sum = big + big;
    EXPECT_EQ(sum.compare(big), 1);
    EXPECT_GT(sum.num(), 0);
    const GmnRational odd = GmnRational(1, 2147483647) + GmnRational(1, 2147483629);
    EXPECT_EQ(odd.compare(GmnRational()), 1);
}

}  // namespace
}  // namespace notavera
