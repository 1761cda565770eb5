// Whole-bar rests set on a laid-out system: a rest filling its bar alone becomes a whole rest in the middle of it,
// unless the bar is not one its meter makes, or the rest stands for no whole bar.
#include "edit/rest_centring.h"

#include <gtest/gtest.h>

#include "support/score_builder.h"

namespace notavera {
namespace {

constexpr unsigned C = 1;
constexpr unsigned whole = 2, half = 3, quarter = 4;

struct BarCase {
    const char* name;
    unsigned restCode;
    unsigned otherStaffQuarters;  // what the other staff plays in the bar
    bool restOnLastStaff;
    bool set;                     // the rest becomes a whole rest in the middle of the bar
};

// A system of two staves in 2/4: bar lines at 100 and 300 on both, a rest at 130 on one staff of the second bar,
// quarters on the other.
class WholeBarRests : public ::testing::TestWithParam<BarCase> {};

TEST_P(WholeBarRests, AreSetWhereTheBarIsTheirs) {
    const BarCase& c = GetParam();
    test::ScoreBuilder b(1, 2, 2);
    const int restStaff = c.restOnLastStaff ? 1 : 0;
    for (int s = 0; s < 2; ++s) {
        b.on(1, s).meter(40, 2, 4);
        b.bar(100);
        if (s == restStaff) b.rest(130, c.restCode);
        else b.notes(130, 30, c.otherStaffQuarters, C, quarter);
        b.bar(300);
    }
    SetWholeBarRests(b.doc());
    for (const ElementRecord& e : b.doc().findPage(1)->staves[static_cast<std::size_t>(restStaff)].elements) {
        if (!e.isRest()) continue;
        EXPECT_EQ(e.noteWord().durationCode(), c.set ? whole : c.restCode);
        EXPECT_EQ(e.x, c.set ? 200 : 130);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WholeBarRests,
                         ::testing::Values(BarCase{"HalfRestFillingTwoFour", half, 2, false, true},
                                           BarCase{"WholeRestOnTheLastStaff", whole, 2, true, true},
                                           BarCase{"QuarterRestFillsNothing", quarter, 2, false, false},
                                           BarCase{"BarRunOverByTheStaffAbove", half, 3, true, false},
                                           BarCase{"BarRunOverByTheLastStaff", half, 3, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
