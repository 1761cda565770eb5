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
