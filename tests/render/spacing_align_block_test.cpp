// Alignment of a block on the slots of its current staff, and the report of staves that do not fill the grid.
#include <gtest/gtest.h>

#include <vector>

#include "render/align_block.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class AlignBlockTest : public ::testing::Test {
protected:
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }
    std::vector<StaffRecord*> block() { return {&staff(0), &staff(1)}; }
    std::vector<int> xs(int i) {
        std::vector<int> v;
        for (const ElementRecord& e : staff(i).elements) v.push_back(e.x);
        return v;
    }
    AlignSettings settings() {
        AlignSettings s;
        s.stepUnit = 10;
        s.lineLength = 1800;
        return s;
    }

    ScoreBuilder b{1, 2, 2};
};

TEST_F(AlignBlockTest, EighthsTakeTheSlotsBetweenTheQuartersOfTheCurrentStaff) {
    b.on(1, 0).notes(100, 120, 3, 5, 4);
    b.on(1, 1).notes(90, 50, 6, 3, 5);
    const AlignResult r = AlignBlock(block(), 0, settings());
    EXPECT_TRUE(r.aligned);
    EXPECT_TRUE(r.unfinished.empty());
    EXPECT_EQ(xs(0), (std::vector<int>{100, 220, 340}));
    EXPECT_EQ(xs(1), (std::vector<int>{100, 160, 220, 280, 340, 370}));
}

TEST_F(AlignBlockTest, StaffThatEndsEarlyIsReported) {
    b.on(1, 0).notes(100, 120, 3, 5, 4);
    b.on(1, 1).notes(90, 50, 5, 3, 5);
    const AlignResult r = AlignBlock(block(), 0, settings());
    ASSERT_EQ(r.unfinished, (std::vector<int>{1}));
    const std::vector<StaffRecord*> staves = block();
    EXPECT_EQ(UnfinishedStavesText(staves, r.unfinished), "{2,2} ");
}

TEST_F(AlignBlockTest, SignsKeepTheirDistanceToThePreviousNote) {
    b.on(1, 0).note(100, 5, 4);
    b.on(1, 0).bar(200);
    b.on(1, 0).note(230, 5, 4);
    b.on(1, 1).note(100, 3, 5);
    b.on(1, 1).note(150, 3, 5);
    b.on(1, 1).bar(190);
    b.on(1, 1).note(220, 3, 4);
    AlignBlock(block(), 0, settings());
    EXPECT_EQ(xs(1), (std::vector<int>{100, 165, 205, 230}));
    EXPECT_EQ(xs(0)[2], xs(1)[3]);
}

TEST_F(AlignBlockTest, BarsThatCloseTheSameBarStandAtOneXAndFinalBarsAtTheRightmost) {
    b.on(1, 0).notes(100, 40, 4, 4, 4);
    b.on(1, 0).bar(300);
    b.on(1, 0).note(340, 3, 3);
    b.on(1, 0).bar(400);
    b.on(1, 1).note(100, 5, 2);
    b.on(1, 1).bar(260);
    b.on(1, 1).note(300, 5, 3);
    b.on(1, 1).bar(380);
    AlignBlock(block(), 0, settings());
    const std::vector<int> upper = xs(0), lower = xs(1);
    EXPECT_EQ(upper[4], lower[1]) << "the bar before the second bar's first note";
    EXPECT_EQ(upper[5], lower[2]);
    EXPECT_LT(lower[1], lower[2]);
    EXPECT_GT(lower[1], lower[0]);
    EXPECT_EQ(upper.back(), lower.back()) << "the closing bars";
}

TEST_F(AlignBlockTest, CurrentStaffStartsWithTheLatestFirstNote) {
    b.on(1, 0).notes(100, 120, 2, 5, 4);
    b.on(1, 1).notes(150, 120, 2, 3, 4);
    AlignBlock(block(), 0, settings());
    EXPECT_EQ(xs(0), (std::vector<int>{150, 270}));
    EXPECT_EQ(xs(1), xs(0));
}

TEST_F(AlignBlockTest, CueNotesAreLeftOutUnlessCountedAsFullValues) {
    b.on(1, 0).notes(100, 120, 2, 5, 4);
    b.on(1, 1).note(100, 3, 4);
    b.on(1, 1).note(160, 3, 6).w0().setCueSize(true);
    b.on(1, 1).note(220, 3, 4);
    AlignSettings s = settings();
    EXPECT_TRUE(AlignBlock(block(), 0, s).unfinished.empty());
    s.cueAsFull = true;
    EXPECT_EQ(AlignBlock(block(), 0, s).unfinished, (std::vector<int>{1}));
}

TEST_F(AlignBlockTest, BlockWithoutNotesIsLeftAlone) {
    b.on(1, 0).bar(300);
    EXPECT_FALSE(AlignBlock(block(), 0, settings()).aligned);
    EXPECT_EQ(xs(0), (std::vector<int>{300}));
}

}  // namespace
}  // namespace notavera
