// Groupings at the left edge: how grouping marks make groups (damaged columns included), the system line, the
// bracket with its wings, the brace's shape, and invisible staves.
#include "render/staff_groupings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/recording_canvas.h"
#include "render/page_pass.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::NewDocument;

struct GroupCase {
    std::vector<unsigned> marks;
    bool loneStaffIsGroup;
    std::vector<StaffGroup> groups;
};

class FindGroups : public ::testing::TestWithParam<GroupCase> {};

TEST_P(FindGroups, MarksMakeGroups) {
    EXPECT_EQ(FindStaffGroups(GetParam().marks, GetParam().loneStaffIsGroup), GetParam().groups);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, FindGroups,
    ::testing::Values(GroupCase{{1, 0, 2}, false, {{0, 2}}},                   // opened, inside, closed
                      GroupCase{{3, 3}, false, {{0, 0}, {1, 1}}},              // groups of one
                      GroupCase{{1, 0, 1, 2}, false, {{0, 1}, {2, 3}}},        // a new opening closes the last
                      GroupCase{{1, 0, 3}, false, {{0, 1}, {2, 2}}},           // so does a group of one
                      GroupCase{{1, 0}, false, {{0, 1}}},                      // left open: closes at the end
                      GroupCase{{0, 2, 0}, false, {}},                         // stray marks outside any group
                      GroupCase{{0, 2, 0}, true, {{0, 0}, {1, 1}, {2, 2}}},    // ... are systems of their own
                      GroupCase{{}, true, {}}));

// Ten staves: a bracketed system of two, a braced system of two, six lone staves.
struct GroupingsTest : ::testing::Test {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    RecordingCanvas canvas;

    GroupingsTest() {
        auto& staves = doc.pages[0].staves;
        const unsigned marks[4] = {1, 2, 1, 2};
        for (std::size_t i = 0; i < 4; ++i) {
            staves[i].key().setSystemGrouping(marks[i]);
            staves[i].key().setBlockGrouping(marks[i]);
        }
        staves[2].lines().setBrace(true);
    }

    void draw() {
        dc.canvas = &canvas;
        DrawPage(dc, doc);
    }
};

// The brace: the one polygon of more than four corners (bands are quadrilaterals).
std::vector<nlohmann::json> Braces(const nlohmann::json& calls) {
    std::vector<nlohmann::json> braces;
    for (const auto& p : CallsOf(calls, "polygon")) {
        if (p["points"].size() > 4) braces.push_back(p);
    }
    return braces;
}

constexpr int Top0 = 2730, Bottom1 = 2730 - 260 - 80, Top2 = 2730 - 520, Bottom3 = 2730 - 780 - 80;

TEST_F(GroupingsTest, SystemsOfSeveralStavesAreJoinedAtTheLeftEdge) {
    draw();
    const auto vlines = CallsOf(canvas.calls(), "vline");
    ASSERT_EQ(vlines.size(), 2u);  // lone staves get no line
    EXPECT_EQ(vlines[0]["x"], 0);
    EXPECT_EQ(vlines[0]["y1"], Bottom1);
    EXPECT_EQ(vlines[0]["y2"], Top0);
    EXPECT_EQ(vlines[0]["width"], 3);  // "Barres mesure"
    EXPECT_EQ(vlines[1]["y1"], Bottom3);
    EXPECT_EQ(vlines[1]["y2"], Top2);
}

TEST_F(GroupingsTest, ABracketStandsLeftOfTheLineWithItsWingsOverTheStaves) {
    draw();
    const auto bands = CallsOf(canvas.calls(), "band");
    ASSERT_EQ(bands.size(), 1u);
    const int right = bands[0]["x2"];
    EXPECT_LT(right, -1);                           // clear of the system line's half width
    EXPECT_EQ(right - bands[0]["x1"].get<int>(), 10);  // half a staff space thick
    EXPECT_GT(bands[0]["y1"].get<int>() + bands[0]["t"].get<int>(), Top0);
    EXPECT_LT(bands[0]["y1"].get<int>(), Bottom1);
    const auto wings = CallsOf(canvas.calls(), "glyphRun");
    ASSERT_EQ(wings.size(), 2u);
    EXPECT_EQ(wings[0]["codePoints"][0], 0xE003);
    EXPECT_EQ(wings[1]["codePoints"][0], 0xE004);
    EXPECT_EQ(wings[0]["x"], bands[0]["x1"]);
}

TEST_F(GroupingsTest, ABraceSpansItsStavesLeftOfTheLine) {
    draw();
    const auto polygons = Braces(canvas.calls());
    ASSERT_EQ(polygons.size(), 1u);
    int left = 0, right = -10000, top = -10000, bottom = 10000;
    for (const auto& p : polygons[0]["points"]) {
        left = std::min(left, p[0].get<int>());
        right = std::max(right, p[0].get<int>());
        top = std::max(top, p[1].get<int>());
        bottom = std::min(bottom, p[1].get<int>());
    }
    EXPECT_LT(right, 0);
    EXPECT_GE(left, -80);
    EXPECT_NEAR(top, Top2, 2);
    EXPECT_NEAR(bottom, Bottom3, 2);
    EXPECT_EQ(polygons[0]["fill"], 0);
}

TEST_F(GroupingsTest, InvisibleStavesDoNotStretchAGrouping) {
    doc.pages[0].staves[1].key().setInvisible(true);
    doc.pages[0].staves[2].key().setInvisible(true);
    doc.pages[0].staves[3].key().setInvisible(true);
    draw();
    const auto vlines = CallsOf(canvas.calls(), "vline");
    ASSERT_EQ(vlines.size(), 1u);
    EXPECT_EQ(vlines[0]["y1"], Top0 - 80);
    EXPECT_EQ(vlines[0]["y2"], Top0);
    EXPECT_TRUE(Braces(canvas.calls()).empty());  // the brace has nothing left to hold
}

TEST(BraceOutline, IsAClosedShapeSymmetricAboutItsMiddle) {
    const std::vector<Point> outline = BraceOutline(0, 400, 0, 20);
    ASSERT_GE(outline.size(), 20u);
    const std::size_t n = outline.size();
    // The middle point juts furthest left; the tips sit at the right.
    const auto leftmost = std::min_element(outline.begin(), outline.end(), [](Point a, Point b) { return a.x < b.x; });
    EXPECT_NEAR(leftmost->y, 200, 20);
    EXPECT_NEAR(outline.front().x, 0, 2);
    EXPECT_NEAR(outline.front().y, 400, 2);
    // Each side's upper half mirrors its lower half.
    for (std::size_t i = 0; i < n / 2; ++i) {
        const Point a = outline[i], b = outline[n / 2 - 1 - i];
        EXPECT_NEAR(a.x, b.x, 2) << i;
        EXPECT_NEAR(a.y, 400 - b.y, 2) << i;
    }
}

}  // namespace
}  // namespace notavera
