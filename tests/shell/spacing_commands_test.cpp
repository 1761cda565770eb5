// The spacing commands as the menus reach them: which numbers are built, the beeps of the commands that need a
// marker, the respacing of the current line, and commands on a window without a document.
#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "shell/spacing_commands.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

std::vector<int> XsOf(const StaffRecord& staff) {
    std::vector<int> xs;
    for (const ElementRecord& e : staff.elements) xs.push_back(e.x);
    return xs;
}

TEST(SpacingCommands, EveryCommandWithARespacingIsBuiltAndTheOthersStayGrey) {
    // The line cuts 98 and 99 wait for their double click, then cut.
    for (const int command : {98, 99, 221, 222, 223, 224, 225, 235, 236, 237, 238, 239, 247, 248, 249, 267, 284, 285})
        EXPECT_TRUE(CommandIsBuilt(command)) << command;
    // The space dialog and the syllables are not part of this build.
    for (const int command : {220, 275, 490}) EXPECT_FALSE(CommandIsBuilt(command)) << command;
}

class LineCutCommands : public ::testing::TestWithParam<int> {
protected:
    LineCutCommands() { score.setCurrent(1, 0, -1); }
    test::ScoreBuilder score;
};

TEST_P(LineCutCommands, WaitForTheClickThatSaysWhereAndAToolCancelsThem) {
    DispatchCommand(score.ctx(), static_cast<unsigned>(GetParam()));
    EXPECT_EQ(score.ctx().shell.input.mouseMode, GetParam());
    DispatchCommand(score.ctx(), 86);  // the Notes tool
    EXPECT_EQ(score.ctx().shell.input.mouseMode, 0);
}

TEST_P(LineCutCommands, TheContinuousViewHasNoLinesToCut) {
    score.ctx().shell.view.continuousView = true;
    DispatchCommand(score.ctx(), static_cast<unsigned>(GetParam()));
    EXPECT_EQ(score.ctx().shell.input.mouseMode, 0);
}

INSTANTIATE_TEST_SUITE_P(UpAndDown, LineCutCommands, ::testing::Values(98, 99));

TEST(SpacingCommands, WithoutADocumentNothingHappens) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    for (const int command : {221, 223, 225, 238, 239, 267, 284}) DispatchCommand(ctx, static_cast<unsigned>(command));
    EXPECT_FALSE(ctx.doc.modified);
    EXPECT_TRUE(ui.messages().empty());
}

class MarkerCommands : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        score.on(1, 0).notes(200, 40, 4, 3);
        score.setCurrent(1, 0, 1);
        before = XsOf(*score.doc().staff());
    }
    test::ScoreBuilder score;
    std::vector<int> before;
};

TEST_P(MarkerCommands, WithoutMarkerXTheyOnlyBeep) {
    DispatchCommand(score.ctx(), static_cast<unsigned>(GetParam()));
    EXPECT_EQ(score.ui().beeps(), 1);
    EXPECT_EQ(XsOf(*score.doc().staff()), before);
}

INSTANTIATE_TEST_SUITE_P(JustifyAndMove, MarkerCommands, ::testing::Values(221, 222));

TEST_F(MarkerCommands, JustifyingToMarkerXEndsTheLineThere) {
    score.ctx().shell.cursor.markerX = 600;  // set by "Marqueur X" (211) at the cursor
    DispatchCommand(score.ctx(), 221);
    EXPECT_EQ(score.ui().beeps(), 0);
    EXPECT_NE(XsOf(*score.doc().staff()), before);
}

TEST(SpacingCommands, MarkerYOnAnotherPageMarksNoStaff) {
    test::ScoreBuilder score(2, 2, 2);
    score.setCurrent(1, 0, 0);
    score.ctx().shell.cursor.zone.page = 2;
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).markedStaff);
    score.ctx().shell.cursor.zone.page = 1;
    score.ctx().shell.cursor.zone.startStaff = 1;
    EXPECT_EQ(ReadSpacingMarkers(score.ctx()).markedStaff, 1);
}

TEST(SpacingCommands, AligningAgainstAMarkedStaffNeedsOne) {
    test::ScoreBuilder score(1, 2, 2);
    score.on(1, 0).notes(200, 40, 4, 3);
    score.on(1, 1).notes(210, 50, 4, 3);
    score.setCurrent(1, 0, 0);
    DispatchCommand(score.ctx(), 224);
    EXPECT_EQ(score.ui().beeps(), 1);
    EXPECT_EQ(score.doc().findPage(1)->staves[1].elements[1].x, 260);
}

TEST(SpacingCommands, AligningABlockReportsTheStaffThatEndsEarly) {
    test::ScoreBuilder score(1, 2, 2);
    score.on(1, 0).notes(200, 40, 4, 3);
    score.on(1, 1).notes(210, 50, 3, 3);
    score.setCurrent(1, 0, 0);
    DispatchCommand(score.ctx(), 223);
    ASSERT_EQ(score.ui().messages().size(), 1u);
    EXPECT_EQ(score.ui().messages()[0].stringId, 14);
    EXPECT_EQ(score.ui().messages()[0].text, "Erreurs: {2,2} ");
    const auto& staves = score.doc().findPage(1)->staves;
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(staves[1].elements[i].x, staves[0].elements[i].x) << i;
}

// A marked region: six quarters 100 apart on the first staff of a block of two, the same under them.
class RegionCommands : public ::testing::Test {
protected:
    RegionCommands() {
        for (PageRecord& p : score.doc().pages) p.lineLength = 1800;
        score.doc().settings.aestheticCorrection = false;
        score.on(1, 0).notes(100, 100, 6, 5, 4);
        score.on(1, 1).notes(100, 100, 6, 3, 4);
        score.setCurrent(1, 0, 0);
    }
    // The zone from element `start` of staff `startStaff` to element `last` of staff `lastStaff` on page 1.
    void mark(int startStaff, int start, int lastStaff, int last) {
        ZoneRecord& zone = score.ctx().shell.cursor.zone;
        zone.page = 1;
        zone.startStaff = startStaff;
        zone.start = start;
        zone.lastStaff = lastStaff;
        zone.last = last;
    }
    std::vector<int> xs(int staff) { return XsOf(score.doc().findPage(1)->staves.at(static_cast<std::size_t>(staff))); }

    test::ScoreBuilder score{1, 2, 2};
    const std::vector<int> untouched{100, 200, 300, 400, 500, 600};
    // 100 and 200 stay, 300 starts the region, 400 comes a quarter (12 steps) after it and the rest follows.
    const std::vector<int> regionRespaced{100, 200, 300, 420, 520, 620};
};

TEST_F(RegionCommands, TheLineCommandsRespaceOnlyTheRegion) {
    mark(0, 2, 0, 3);
    DispatchCommand(score.ctx(), 225);
    EXPECT_EQ(xs(0), regionRespaced);
    EXPECT_EQ(xs(1), untouched);
    EXPECT_TRUE(score.doc().modified);
}

TEST_F(RegionCommands, AZoneMarkedBackwardsIsTheSameRegion) {
    mark(0, 3, 0, 2);
    DispatchCommand(score.ctx(), 225);
    EXPECT_EQ(xs(0), regionRespaced);
}

TEST_F(RegionCommands, TheRegionsStaffIsRespacedWhereverTheCursorIs) {
    mark(1, 2, 1, 3);
    DispatchCommand(score.ctx(), 225);  // the cursor is on staff 0
    EXPECT_EQ(xs(0), untouched);
    EXPECT_EQ(xs(1), regionRespaced);
}

TEST_F(RegionCommands, TheBlockCommandsRespaceTheRegionOnEveryStaffOfTheBlock) {
    mark(0, 2, 0, 3);
    DispatchCommand(score.ctx(), 236);
    EXPECT_EQ(xs(0), regionRespaced);
    EXPECT_EQ(xs(1), regionRespaced);
}

TEST_F(RegionCommands, AZoneWithoutItsEndOrOnAnotherPageLeavesTheWholeLineToTheCommand) {
    mark(0, 2, 0, -1);  // marker Y alone
    DispatchCommand(score.ctx(), 225);
    EXPECT_EQ(xs(0).front(), 30) << "respaced from the line's start";
    EXPECT_EQ(xs(1), untouched);

    test::ScoreBuilder twoPages{2, 1, 1};
    twoPages.on(1, 0).notes(100, 100, 6, 5, 4);
    twoPages.setCurrent(1, 0, 0);
    twoPages.ctx().shell.cursor.zone = ZoneRecord{0, 2, 3, 2, 0, 0, 0};  // marked on page 2
    DispatchCommand(twoPages.ctx(), 225);
    EXPECT_EQ(XsOf(*twoPages.doc().staff()).front(), 30);
}

TEST_F(RegionCommands, AZoneNamingElementsThatAreGoneIsNoRegion) {
    mark(0, 2, 0, 40);
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).region);
    mark(0, 2, 7, 1);
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).region);
}

TEST(SpacingCommands, RawLineRespacingGivesEqualValuesEqualRoom) {
    test::ScoreBuilder score;
    score.on(1, 0).notes(200, 17, 5, 3);
    score.notes(290, 90, 2, 3, 6);
    score.setCurrent(1, 0, 0);
    DispatchCommand(score.ctx(), 225);
    const std::vector<int> xs = XsOf(*score.doc().staff());
    ASSERT_EQ(xs.size(), 7u);
    for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(xs[i] - xs[i - 1], xs[1] - xs[0]) << i;
    EXPECT_GT(xs[1] - xs[0], xs[6] - xs[5]) << "a quarter takes more room than a sixteenth";
    EXPECT_TRUE(score.doc().modified);
}

}  // namespace
}  // namespace notavera
