// Menu preparation: continuous pages, mask editing, undo states, grouped staves, the sticky modified flag and
// commands that are not built yet.
#include "shell/menu_state.h"

#include <gtest/gtest.h>

#include "shell/menu_table.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class MenuStateTest : public ::testing::Test {
protected:
    MenuStateTest() : doc(test::NewDocument(2)) { doc.currentPage = 1; }

    MenuPreparation prepare(std::function<bool(int)> built = [](int) { return true; }) {
        return PrepareMenus(doc, shell, inputs, built);
    }
    void openFile() {
        doc.storage.fileState = FileState::Open;
        doc.storage.path = "/tmp/etude.mus";
    }
    void groupCurrentStaff(unsigned size) { doc.page()->staves.at(0).voice().setGroupSize(size); }

    ScoreDocument doc;
    ShellState shell;
    MenuInputs inputs;
};

TEST_F(MenuStateTest, NotBuiltCommandsAreAlwaysGrey) {
    const auto prepared = prepare([](int command) { return command != 51 && command != 482; });
    EXPECT_FALSE(prepared[51].enabled);
    EXPECT_TRUE(prepared[51].checked);  // the check mark still says where the zoom is
    EXPECT_TRUE(prepared[52].enabled);
    shell.maskEditing = true;
    EXPECT_FALSE(prepare([](int command) { return command != 482; })[LeaveMaskCommand].enabled);
    EXPECT_FALSE(PrepareMenus(doc, shell, inputs, nullptr)[52].enabled);
}

TEST_F(MenuStateTest, EveryMenuCommandGetsAState) {
    const auto prepared = prepare();
    for (int command : MainMenuCommands()) EXPECT_EQ(prepared.commands.count(command), 1u) << command;
    EXPECT_FALSE(prepared[12345].enabled);
}

TEST_F(MenuStateTest, SaveNeedsTheStickyModifiedFlag) {
    EXPECT_FALSE(prepare()[3].enabled);
    doc.modified = true;
    auto prepared = prepare();
    EXPECT_TRUE(prepared[3].enabled);
    EXPECT_TRUE(prepared.stickyModified);
    // Once set, the flag keeps Enregistrer available even after the modified flag went down again.
    shell.stickyModified = prepared.stickyModified;
    doc.modified = false;
    EXPECT_TRUE(prepare()[3].enabled);
    shell.maskEditing = true;
    EXPECT_FALSE(prepare()[3].enabled);
}

TEST_F(MenuStateTest, CompressNeedsAPath) {
    EXPECT_FALSE(prepare()[7].enabled);
    openFile();
    EXPECT_TRUE(prepare()[7].enabled);
}

TEST_F(MenuStateTest, UndoFollowsTheStepsOfAnOpenFile) {
    inputs.undoAvailable = inputs.cancelAvailable = true;
    auto prepared = prepare();  // no file open: nothing to undo in the working file
    EXPECT_FALSE(prepared[11].enabled);
    EXPECT_FALSE(prepared[672].enabled);
    EXPECT_FALSE(prepared[588].enabled);
    EXPECT_TRUE(prepared[589].enabled);
    EXPECT_TRUE(prepared[902].enabled);

    openFile();
    prepared = prepare();
    EXPECT_TRUE(prepared[11].enabled);
    EXPECT_TRUE(prepared[672].enabled);
    EXPECT_TRUE(prepared[588].enabled);
    EXPECT_FALSE(prepared[589].enabled);  // import and GUIDO start new scores only
    EXPECT_FALSE(prepared[902].enabled);

    inputs.cancelAvailable = false;
    prepared = prepare();
    EXPECT_TRUE(prepared[11].enabled);
    EXPECT_FALSE(prepared[672].enabled);
    inputs.undoAvailable = false;
    EXPECT_FALSE(prepare()[11].enabled);
}

TEST_F(MenuStateTest, PasteAndTraceNeedSomethingToUse) {
    auto prepared = prepare();
    EXPECT_FALSE(prepared[13].enabled);
    EXPECT_FALSE(prepared[268].enabled);
    inputs.copyBufferFilled = inputs.pageHasGhostModel = true;
    prepared = prepare();
    EXPECT_TRUE(prepared[13].enabled);
    EXPECT_TRUE(prepared[268].enabled);
}

TEST_F(MenuStateTest, ContinuousModeGreysPageLayoutCommands) {
    shell.view.continuousView = true;
    auto prepared = prepare();
    EXPECT_TRUE(prepared[100].checked);
    EXPECT_TRUE(prepared[100].enabled);
    for (int command : {98, 99, 101, 239, 584, 61, 62, 621, 622, 614, 615, 14, 60, 65, 67, 597, 595, 596, 48, 498,
                        497}) {
        EXPECT_FALSE(prepared[command].enabled) << command;
    }
    shell.view.continuousView = false;
    prepared = prepare();
    EXPECT_FALSE(prepared[100].checked);
    for (int command : {98, 99, 101, 239, 584, 61, 62, 14, 60, 65, 67, 48, 498, 497}) {
        EXPECT_TRUE(prepared[command].enabled) << command;
    }
}

TEST_F(MenuStateTest, GroupedStaffGreysTheSingleLineAlignments) {
    groupCurrentStaff(3);
    auto prepared = prepare();
    for (int command : {223, 249, 247, 285, 248, 236, 237, 239}) EXPECT_FALSE(prepared[command].enabled) << command;
    EXPECT_TRUE(prepared[225].enabled);

    shell.view.continuousView = true;
    prepared = prepare();
    EXPECT_TRUE(prepared[237].enabled);
    EXPECT_FALSE(prepared[236].enabled);

    groupCurrentStaff(1);
    shell.view.continuousView = false;
    prepared = prepare();
    for (int command : {223, 249, 247, 285, 248, 236, 237, 239}) EXPECT_TRUE(prepared[command].enabled) << command;
}

// A single staff re-enables the alignments, but the continuous view still cannot take a justified page.
TEST_F(MenuStateTest, JustifiedPageStaysGreyInTheContinuousView) {
    groupCurrentStaff(1);
    shell.view.continuousView = true;
    const auto prepared = prepare();
    EXPECT_FALSE(prepared[239].enabled);
    EXPECT_TRUE(prepared[237].enabled);
}

TEST_F(MenuStateTest, MissingStaffCountsAsSingle) {
    doc.currentStaff = 99;
    EXPECT_TRUE(prepare()[223].enabled);
    doc.currentPage = 7;  // not in memory
    EXPECT_TRUE(prepare()[223].enabled);
}

TEST_F(MenuStateTest, MaskEditingGreysNavigationAndFileCommands) {
    openFile();
    doc.modified = true;
    shell.maskEditing = true;
    const auto prepared = prepare();
    EXPECT_TRUE(prepared.showLeaveMask);
    EXPECT_TRUE(prepared[LeaveMaskCommand].enabled);
    for (int command : {622, 621, 623, 624, 63, 64, 66, 61, 49, 60, 65, 67, 1, 2, 4, 614, 615, 241, 242, 902, 15,
                        5, 14, 6, 48, 100, 584, 597, 595, 596, 3, 7, 8, 588, 589, 11, 672, 268}) {
        EXPECT_FALSE(prepared[command].enabled) << command;
    }
    EXPECT_TRUE(prepared[52].enabled);
}

TEST_F(MenuStateTest, LeavingMaskItemOnlyWhileEditingAMask) {
    const auto prepared = prepare();
    EXPECT_FALSE(prepared.showLeaveMask);
    EXPECT_FALSE(prepared[LeaveMaskCommand].enabled);
}

TEST_F(MenuStateTest, MaskErasersFollowTheMasksThatExist) {
    auto prepared = prepare();
    EXPECT_FALSE(prepared[623].enabled);
    EXPECT_FALSE(prepared[624].enabled);
    doc.optional.variableMask = std::make_unique<PageRecord>();
    prepared = prepare();
    EXPECT_FALSE(prepared[623].enabled);
    EXPECT_TRUE(prepared[624].enabled);
}

TEST_F(MenuStateTest, CheckMarks) {
    shell.autosaveDelay = 0;
    shell.view.zoom = {3, 2};
    shell.view.zoomMenuItem = 54;
    shell.input.toolMenuItem = 72;
    doc.page()->layoutWord().setWithoutVariableMask(true);
    auto prepared = prepare();
    EXPECT_FALSE(prepared[492].checked);
    EXPECT_TRUE(prepared[54].checked);
    EXPECT_FALSE(prepared[51].checked);
    EXPECT_TRUE(prepared[72].checked);
    EXPECT_FALSE(prepared[86].checked);
    EXPECT_FALSE(prepared[619].checked);
    EXPECT_TRUE(prepared[620].checked);

    shell.autosaveDelay = 5;
    shell.view.zoom = {1, 1};  // "AUTRE" answered 1/1: the mark stays on the item chosen
    shell.view.zoomMenuItem = 56;
    doc.toolOverride = 1;
    prepared = prepare();
    EXPECT_TRUE(prepared[492].checked);
    EXPECT_TRUE(prepared[56].checked);
    EXPECT_FALSE(prepared[51].checked);
    EXPECT_FALSE(prepared[72].checked);
}

}  // namespace
}  // namespace notavera
