// The respacing commands on the open document: the current line or block, each line of a block, a marked
// region, and the step the document keeps afterwards.
#include <gtest/gtest.h>

#include <vector>

#include "render/line_respacing.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class LineRespacingTest : public ::testing::Test {
protected:
    LineRespacingTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
        b.doc().settings.aestheticCorrection = false;
    }
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }
    std::vector<int> xs(int i) {
        std::vector<int> v;
        for (const ElementRecord& e : staff(i).elements) v.push_back(e.x);
        return v;
    }

    ScoreBuilder b{1, 2, 2};  // one block of two staves
    const int su = 10;
};

TEST_F(LineRespacingTest, CurrentLineIsRespacedFromItsLeftEdgeWithTheStep) {
    b.on(1, 0).notes(500, 37, 3, 5, 4);
    b.on(1, 1).notes(200, 50, 2, 5, 4);
    b.on(1, 0);
    EXPECT_EQ(SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentLine, SpacingMode::Raw), su);
    EXPECT_EQ(xs(0), (std::vector<int>{3 * su, 15 * su, 27 * su}));
    EXPECT_EQ(xs(1), (std::vector<int>{200, 250}));  // the other staff of the block is left alone
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(LineRespacingTest, BlockAlignsSimultaneousNotesAndEachLineDoesNot) {
    b.on(1, 0).notes(100, 100, 2, 5, 3);  // halves
    b.on(1, 1).notes(100, 50, 4, 5, 4);   // quarters
    b.on(1, 1);
    SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentBlock, SpacingMode::Raw);
    EXPECT_EQ(staff(0).elements[1].x, staff(1).elements[2].x);

    staff(0).elements[0].x = 100;
    staff(0).elements[1].x = 200;
    SpaceLines(b.doc(), SignDistances{}, SpacingTarget::EachLineOfBlock, SpacingMode::Raw);
    EXPECT_EQ(xs(0), (std::vector<int>{3 * su, 27 * su}));
    EXPECT_EQ(xs(1), (std::vector<int>{3 * su, 15 * su, 27 * su, 39 * su}));
}

TEST_F(LineRespacingTest, RegionIsRespacedAndWhatFollowsKeepsItsDistances) {
    b.on(1, 0).notes(100, 100, 6, 5, 4);  // 100 … 600
    b.on(1, 0);
    SpaceLines(b.doc(), {}, SpacingTarget::CurrentLine, SpacingMode::Raw, SpacingRegion{300, 400, std::nullopt});
    // 100 and 200 stay; 300 stays the region's start; 400 is one quarter after it; 500 and 600 follow 400.
    EXPECT_EQ(xs(0), (std::vector<int>{100, 200, 300, 420, 520, 620}));
}

TEST_F(LineRespacingTest, InARegionTheAestheticCorrectionTakesItsStrongerVariant) {
    b.doc().settings.aestheticCorrection = true;
    b.on(1, 0).notes(100, 100, 6, 5, 4);
    b.on(1, 0);
    SpaceLines(b.doc(), {}, SpacingTarget::CurrentLine, SpacingMode::Raw, SpacingRegion{300, 400, std::nullopt});
    // A quarter advances 12 steps × 3/4 inside the region, where the whole line would give it 12 × 2/3.
    EXPECT_EQ(xs(0), (std::vector<int>{100, 200, 300, 390, 490, 590}));
    SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentLine, SpacingMode::Raw);
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 8 * su);
    EXPECT_TRUE(b.doc().settings.aestheticCorrection) << "the document keeps its own setting";
}

TEST_F(LineRespacingTest, OptimisedStepBecomesTheDocumentsStep) {
    b.on(1, 0).notes(100, 100, 12, 5, 4);
    b.on(1, 0);
    const int step = SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentLine, SpacingMode::Optimised);
    EXPECT_GT(step, su);
    EXPECT_EQ(b.doc().spacingStep, step);
    EXPECT_NEAR(staff(0).elements.back().x, 1800, 10 * su);
}

TEST_F(LineRespacingTest, WithoutAStaffOrMusicNothingIsRespaced) {
    b.on(1, 0);
    EXPECT_EQ(SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentBlock, SpacingMode::Optimised), 0);
    EXPECT_FALSE(b.doc().modified);
    b.doc().currentStaff = 9;
    EXPECT_EQ(SpaceLines(b.doc(), SignDistances{}, SpacingTarget::CurrentLine, SpacingMode::Raw), 0);
}

}  // namespace
}  // namespace notavera
