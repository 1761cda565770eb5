// "Recalculer Distances" on a page of blocks, and the commands that stretch or move music up to marker X.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/recalculate_distances.h"
#include "shell/spacing_commands.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class MarkerXTest : public ::testing::Test {
protected:
    MarkerXTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
        b.on(1, 0);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        b.notes(100, 100, 4, 5, 4);
        b.bar(450);
        b.on(1, 1).notes(100, 50, 8, 3, 5);
    }
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }
    std::vector<int> xs(int i) {
        std::vector<int> v;
        for (const ElementRecord& e : staff(i).elements) v.push_back(e.x);
        return v;
    }

    ScoreBuilder b{1, 2, 2};
};

TEST_F(MarkerXTest, JustifyStretchesTheBlockFromItsFirstNoteToMarkerX) {
    b.on(1, 0);
    ASSERT_EQ(JustifyToMarkerX(b.ctx(), 800), 1);
    EXPECT_EQ(xs(0), (std::vector<int>{30, 100, 300, 500, 700, 800}));
    EXPECT_EQ(staff(1).elements.front().x, 100);
    EXPECT_EQ(staff(1).elements[2].x, staff(0).elements[2].x);  // simultaneous notes stay together
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(MarkerXTest, JustifyBeforeTheFirstNoteOnlyBeeps) {
    b.on(1, 0);
    EXPECT_EQ(JustifyToMarkerX(b.ctx(), 80), 0);
    EXPECT_EQ(b.ui().beeps(), 1);
    EXPECT_EQ(xs(0), (std::vector<int>{30, 100, 200, 300, 400, 450}));
}

TEST_F(MarkerXTest, MoveBlockTakesTheCurrentElementAndWhatFollowsToMarkerX) {
    b.setCurrent(1, 0, 3);  // the note at 300
    ASSERT_EQ(MoveBlockToMarkerX(b.ctx(), 500), 1);
    EXPECT_EQ(xs(0), (std::vector<int>{30, 100, 200, 500, 600, 650}));
    EXPECT_EQ(staff(1).elements[3].x, 250);
    EXPECT_EQ(staff(1).elements[4].x, 500);
    // Leftwards it stops at the element in front.
    ASSERT_EQ(MoveBlockToMarkerX(b.ctx(), 0), 1);
    EXPECT_EQ(staff(0).elements[3].x, 250);
    const std::vector<int> moved = xs(0);
    EXPECT_TRUE(std::is_sorted(moved.begin(), moved.end()));
}

TEST(RecalculateDistancesBlocks, EveryBlockOfThePageIsAlignedAndTheStepUnitRestored) {
    ScoreBuilder b{1, 4, 2};
    for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
    for (int s : {0, 2}) b.on(1, s).notes(100, 37, 4, 5, 4);
    for (int s : {1, 3}) b.on(1, s).notes(103, 23, 8, 3, 5);
    b.on(1, 1);
    b.doc().spacingStep = 13;
    ASSERT_EQ(RecalculateDistances(b.doc(), b.ui(), SignDistances{}, false), 1);
    const PageRecord& page = *b.doc().findPage(1);
    for (int s : {0, 2})
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(page.staves[static_cast<std::size_t>(s + 1)].elements[2 * k].x,
                      page.staves[static_cast<std::size_t>(s)].elements[k].x);
    EXPECT_EQ(b.doc().spacingStep, b.doc().stepUnit);
    EXPECT_TRUE(b.ui().messages().empty());
}

TEST(RecalculateDistancesBlocks, WithoutAStaffNothingHappens) {
    ScoreBuilder b;
    b.doc().currentStaff = 5;
    EXPECT_EQ(RecalculateDistances(b.doc(), b.ui(), SignDistances{}, false), 0);
    EXPECT_FALSE(b.doc().modified);
}

}  // namespace
}  // namespace notavera
