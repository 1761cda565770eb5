// The spacing commands as the menus reach them: the line cuts waiting for their click, the beeps of the commands
// that need a marker, the respacing of a marked region or the current line, and a window without a document.
#include "shell/spacing_commands.h"

#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

std::vector<int> XsOf(const StaffRecord& staff) {
    std::vector<int> xs;
    for (const ElementRecord& e : staff.elements) xs.push_back(e.x);
    return xs;
}

// Six quarters 100 apart on the first staff of a block of two, the same under them.
class SpacingCommands : public ::testing::Test {
protected:
    SpacingCommands() {
        for (PageRecord& p : score.doc().pages) p.lineLength = 1800;
        score.doc().settings.aestheticCorrection = false;
        score.on(1, 0).notes(100, 100, 6, 5, 4);
        score.on(1, 1).notes(100, 100, 6, 3, 4);
        score.setCurrent(1, 0, 0);
    }
    // The zone from element `start` of staff `startStaff` to element `last` of staff `lastStaff` on page 1.
    void mark(int startStaff, int start, int lastStaff, int last) {
        score.ctx().shell.cursor.zone = {.lastStaff = lastStaff, .start = start, .last = last, .page = 1,
                                         .startStaff = startStaff};
    }
    std::vector<int> xs(int staff) { return XsOf(score.doc().findPage(1)->staves.at(static_cast<std::size_t>(staff))); }
    void command(int c) { DispatchCommand(score.ctx(), static_cast<std::uint32_t>(c)); }

    test::ScoreBuilder score{1, 2, 2};
    const std::vector<int> untouched{100, 200, 300, 400, 500, 600};
    // 100 and 200 stay, 300 starts the region, 400 comes a quarter (12 steps) after it and the rest follows.
    const std::vector<int> regionRespaced{100, 200, 300, 420, 520, 620};
};

TEST_F(SpacingCommands, TheLineCutsWaitForTheirClickUnlessTheViewIsContinuous) {
    for (const int cut : {cmd::CutLineUp, cmd::CutLineDown}) {
        command(cut);
        EXPECT_EQ(score.ctx().shell.input.mouseMode, cut);
        command(cmd::ToolNotes);  // a tool cancels it
        EXPECT_EQ(score.ctx().shell.input.mouseMode, 0);
        score.ctx().shell.view.continuousView = true;
        command(cut);
        EXPECT_EQ(score.ctx().shell.input.mouseMode, 0);
        score.ctx().shell.view.continuousView = false;
    }
}

TEST_F(SpacingCommands, WithoutMarkerXJustifyingAndMovingOnlyBeepAndWithItTheLineEndsThere) {
    command(cmd::JustifyToMarkerX);
    command(cmd::MoveBlockToMarkerX);
    EXPECT_EQ(score.ui().beeps(), 2);
    EXPECT_EQ(xs(0), untouched);
    score.ctx().shell.cursor.markerX = 1500;
    command(cmd::JustifyToMarkerX);
    EXPECT_EQ(score.ui().beeps(), 2);
    EXPECT_EQ(xs(0).back(), 1500);
}

TEST_F(SpacingCommands, AligningNeedsAMarkedStaffAndReportsTheStaffThatEndsEarly) {
    score.on(1, 1).doc().page()->staves[1].elements.pop_back();
    score.doc().page()->staves[1].elements[1].x = 230;
    score.setCurrent(1, 0, 0);
    command(cmd::AlignMarkedStaff);  // against the marked staff: there is none
    EXPECT_EQ(score.ui().beeps(), 1);
    EXPECT_EQ(xs(1)[1], 230);
    command(cmd::Align);
    ASSERT_EQ(score.ui().messages().size(), 1u);
    EXPECT_EQ(score.ui().messages()[0].stringId, 14);
    EXPECT_EQ(score.ui().messages()[0].text, "Erreurs: {2,2} ");
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(xs(1)[i], xs(0)[i]) << i;
}

TEST_F(SpacingCommands, TheLineCommandsRespaceOnlyTheRegionOnItsOwnStaffMarkedEitherWay) {
    mark(0, 3, 0, 2);
    command(cmd::SpaceLineRaw);
    EXPECT_EQ(xs(0), regionRespaced);
    EXPECT_EQ(xs(1), untouched);
    EXPECT_TRUE(score.doc().modified);
    mark(1, 2, 1, 3);
    command(cmd::SpaceLineRaw);  // the cursor is on staff 0
    EXPECT_EQ(xs(1), regionRespaced);
}

TEST_F(SpacingCommands, TheBlockCommandsRespaceTheRegionOnEveryStaffOfTheBlock) {
    mark(0, 2, 0, 3);
    command(cmd::SpaceBlockRaw);
    EXPECT_EQ(xs(0), regionRespaced);
    EXPECT_EQ(xs(1), regionRespaced);
}

TEST_F(SpacingCommands, AZoneWithoutItsEndOrElsewhereLeavesTheWholeLineToTheCommand) {
    mark(0, 2, 0, 40);  // elements that are gone
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).region);
    mark(0, 2, 7, 1);
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).region);
    score.ctx().shell.cursor.zone.page = 2;  // another page: no marked staff either
    EXPECT_FALSE(ReadSpacingMarkers(score.ctx()).markedStaff);
    command(cmd::SpaceLineRaw);
    EXPECT_EQ(xs(0).front(), 40) << "respaced from the line's start";
    mark(1, 2, 1, -1);  // marker Y alone
    EXPECT_EQ(ReadSpacingMarkers(score.ctx()).markedStaff, 1);
    command(cmd::SpaceLineRaw);
    EXPECT_EQ(xs(1), untouched);
}

TEST(SpacingCommandsLine, RawLineRespacingGivesEqualValuesEqualRoomAndNoDocumentNothing) {
    test::ScoreBuilder score;
    score.on(1, 0).notes(200, 17, 5, 3);
    score.notes(290, 90, 2, 3, 6);
    score.setCurrent(1, 0, 0);
    DispatchCommand(score.ctx(), cmd::SpaceLineRaw);
    const std::vector<int> xs = XsOf(*score.doc().staff());
    ASSERT_EQ(xs.size(), 7u);
    for (std::size_t i = 1; i < 5; ++i) EXPECT_EQ(xs[i] - xs[i - 1], xs[1] - xs[0]) << i;
    EXPECT_GT(xs[1] - xs[0], xs[6] - xs[5]) << "a quarter takes more room than a sixteenth";
    EXPECT_TRUE(score.doc().modified);
    HeadlessUi ui(nullptr);
    EditorContext empty(ui);
    for (const int command : {cmd::JustifyToMarkerX, cmd::Align, cmd::SpaceLineRaw, cmd::LayOutPageRaw,
                              cmd::LayOutPageJustified, cmd::JustifyPage, cmd::RecalculateDistances})
        DispatchCommand(empty, command);
    EXPECT_FALSE(empty.doc.modified);
    EXPECT_TRUE(ui.messages().empty());
}

}  // namespace
}  // namespace notavera
