// Aller Mesure no on a two-page score with measure numbers at the lines' starts and a multi-bar rest: the line
// found on the same or a later page, the measure's bar, the search from the current line on, the return to the
// start when no line holds the number; and the bar table and measure numbers the search counts with.
#include "shell/measure_search.h"

#include <gtest/gtest.h>

#include <string>

#include "edit/bar_table.h"
#include "edit/measure_count.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

// A text sign on the current staff; measure numbers are of text type 1 and category 3.
void Text(ScoreBuilder& b, int x, const std::string& text, unsigned type = 1, unsigned category = 3) {
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    CreateSign(b.doc(), x, 5, 20, SignType::Text, type, bytes)->signWord().setTriple(category);
}

void Bars(ScoreBuilder& b, std::initializer_list<int> xs) {
    for (const int x : xs) b.bar(x);
}

// Page 1: line 1 holds measures 1–4 (four bars); line 2 holds 5–14 (three bars and a rest of 8 bars in its
// second measure). Page 2: line 1 holds 15–16, line 2 has no number. Every line is one staff.
class MeasureSearchTest : public ::testing::Test {
protected:
    MeasureSearchTest() {
        b.on(1, 0);
        Text(b, 80, "1");
        b.note(150, 1);
        Bars(b, {300, 500, 700, 900});
        b.on(1, 1);
        Text(b, 80, "5");
        b.note(150, 1);
        b.bar(300);
        Text(b, 390, "8", 0, 0);
        b.rest(400, 2).noteWord().setDurationCode(15);
        Bars(b, {500, 700});
        b.on(2, 0);
        Text(b, 80, "15");
        b.note(150, 1);
        Bars(b, {300, 500});
        b.on(2, 1).note(150, 1);
        b.bar(300);
        b.setCurrent(1, 0, 1);
        cursor().x = 150;
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }
    // Page, staff and cursor x after the search.
    std::tuple<int, int, int> found() { return {b.doc().currentPage, b.doc().currentStaff, cursor().x}; }

    ScoreBuilder b{2, 2, 1};
};

TEST_F(MeasureSearchTest, AMeasureIsFoundAtItsBarOrAtTheStartOfTheLineItBegins) {
    EXPECT_TRUE(FindMeasure(b.ctx(), 16));
    EXPECT_EQ(found(), std::tuple(2, 0, 300));
    ASSERT_NE(b.doc().element(), nullptr);
    EXPECT_EQ(b.doc().element()->x, 300);
    b.setCurrent(1, 0, 1);
    EXPECT_TRUE(FindMeasure(b.ctx(), 15));
    EXPECT_EQ(found(), std::tuple(2, 0, CursorFrameOf(b.doc())->staffStart[0]));
}

TEST_F(MeasureSearchTest, MeasuresAfterAMultiBarRestBeginAtTheirOwnBars) {
    const std::pair<int, int> measures[] = {{6, 300}, {9, 400}, {14, 500}};  // the rest counts 8: 5, 6, 7–13, 14
    for (const auto& [measure, x] : measures) {
        EXPECT_TRUE(FindMeasure(b.ctx(), measure));
        EXPECT_EQ(found(), std::tuple(1, 1, x)) << measure;
    }
}

TEST_F(MeasureSearchTest, TheSearchStartsAtTheCurrentLineAndANumberNotFoundReturnsToTheStart) {
    b.setCurrent(1, 1, 2);  // the bar at 300 of line 2
    cursor().x = 300;
    EXPECT_FALSE(FindMeasure(b.ctx(), 2));  // line 1 of page 1 lies before
    EXPECT_EQ(found(), std::tuple(1, 1, 300));
    EXPECT_FALSE(FindMeasure(b.ctx(), 17));
    EXPECT_EQ(found(), std::tuple(1, 1, 300));
    EXPECT_EQ(b.doc().element()->x, 300);
}

TEST_F(MeasureSearchTest, TheDialogAsksForTheNumberAndKeepsIt) {
    b.ui().queueDialogAnswer({.name = "MesNo", .fields = {{"48", "16"}}, .ok = true});
    DispatchCommand(b.ctx(), cmd::GoToMeasure);
    EXPECT_EQ(b.doc().currentPage, 2);
    EXPECT_EQ(b.ctx().shell.dialogs.lastMeasureSought, 16);
    b.ui().queueDialogAnswer({.name = "MesNo", .fields = {{"48", "1"}}, .ok = false});
    DispatchCommand(b.ctx(), cmd::GoToMeasure);
    EXPECT_EQ(b.doc().currentPage, 2);
}

TEST(MeasureSearchGroups, TheFoundLineKeepsTheStaffsPositionInItsSystem) {
    ScoreBuilder b{1, 4, 2};
    b.on(1, 0);
    Text(b, 80, "1");
    Bars(b, {300, 500});
    b.on(1, 2);
    Text(b, 80, "3");
    b.bar(600);
    b.on(1, 3).bar(300);  // the group's bar positions count: 300 and 600, measures 3 and 4
    b.setCurrent(1, 1, -1);
    EXPECT_TRUE(FindMeasure(b.ctx(), 4));
    EXPECT_EQ(b.doc().currentStaff, 3);
    EXPECT_EQ(b.ctx().shell.cursor.x, 300);
}

TEST(BarTable, CountsPlainAndSpecialBarsOncePerPositionButNoBracesOrHiddenBars) {
    ScoreBuilder b{1, 2, 2};
    b.on(1, 0);
    Bars(b, {300, 500});
    CreateSign(b.doc(), 700, 0, 'E', SignType::Bar, 0);  // final bar
    CreateSign(b.doc(), 710, 0, 2, SignType::Bar, 0);    // a brace to the staff two below
    b.bar(800).w0().setHidden(true);
    b.on(1, 1);
    Bars(b, {300, 600});
    CreateSign(b.doc(), 650, 0, -3, SignType::Bar, 0);  // a square bracket
    std::vector<int> xs;
    int busiest = -1;
    for (const BarEntry& e : BuildBarTable(*b.doc().page(), 0, &busiest)) xs.push_back(e.x);
    EXPECT_EQ(xs, (std::vector<int>{300, 500, 600, 700}));
    EXPECT_EQ(busiest, 0);  // three counting bars against two
    EXPECT_EQ(BuildBarTable(*b.doc().page(), 1).size(), 2u);  // the second staff alone ends the group
}

TEST(MeasureCount, NumbersAreReadFromMeasureNumberTextsAndRestCountsFromPositiveNumbers) {
    ScoreBuilder b{1, 2, 1};
    b.on(1, 0);
    Text(b, 60, "12", 1, 2);  // another category
    Text(b, 70, " 7 ");
    EXPECT_EQ(MeasureNumberOf(*b.doc().staff()), 7);
    b.on(1, 1);
    Text(b, 70, "sept");
    EXPECT_EQ(MeasureNumberOf(*b.doc().staff()), std::nullopt);
    b.rest(300).noteWord().setDurationCode(15);
    Text(b, 310, "0", 0, 0);  // no count of bars: the rest counts one
    EXPECT_EQ(MultiBarRestCount(*b.doc().staff(), 1), 1);
    Text(b, 320, "4", 0, 0);
    EXPECT_EQ(MultiBarRestCount(*b.doc().staff(), 1), 4);
}

}  // namespace
}  // namespace notavera
