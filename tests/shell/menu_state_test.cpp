// Menu preparation, one row per rule: continuous pages, mask editing, undo states of an open file, grouped staves,
// the sticky modified flag, the masks that exist, the check marks, and commands that are not built yet.
#include "shell/menu_state.h"

#include <gtest/gtest.h>

#include "score/new_document.h"
#include "shell/menu_table.h"

namespace notavera {
namespace {

struct Setting {
    ScoreDocument doc;
    ShellState shell;
    MenuInputs inputs;
    Setting() {
        SetUpNewDocument(doc, 2);
        doc.currentPage = 1;
    }
    void openFile() {
        doc.storage.fileState = FileState::Open;
        doc.storage.path = "/tmp/etude.mus";
    }
    void group(unsigned size) { doc.page()->staves.at(0).voice().setGroupSize(size); }
    MenuPreparation prepare() { return PrepareMenus(doc, shell, inputs, [](int) { return true; }); }
};

struct Rule {
    const char* name;
    void (*set)(Setting&);
    std::vector<int> enabled, disabled, checked, unchecked;
};

TEST(MenuState, EachRuleEnablesAndChecksItsCommands) {
    const Rule rules[] = {
        {"new document", [](Setting&) {}, {98, 99, 239, 61, 48, 498, 497, 589, 902, 223}, {3, 7, 11, 672, 588, 13, 268,
         623, 624, LeaveMaskCommand, 12345}, {51, 492}, {100}},
        {"continuous view", [](Setting& s) { s.shell.continuousView = true; }, {100, 237},
         {98, 99, 101, 239, 584, 61, 62, 621, 622, 614, 615, 14, 60, 65, 67, 597, 595, 596, 48, 498, 497}, {100}, {}},
        {"open file, undo and cancel",
         [](Setting& s) { s.openFile(), s.inputs.undoAvailable = s.inputs.cancelAvailable = true; }, {7, 11, 672, 588},
         {589, 902}, {}, {}},
        {"open file without undo", [](Setting& s) { s.openFile(); }, {588}, {11, 672}, {}, {}},
        {"undo without a file", [](Setting& s) { s.inputs.undoAvailable = s.inputs.cancelAvailable = true; },
         {589, 902}, {11, 672, 588}, {}, {}},
        {"something to paste and trace",
         [](Setting& s) { s.inputs.copyBufferFilled = s.inputs.pageHasGhostModel = true; }, {13, 268}, {}, {}, {}},
        {"grouped staff", [](Setting& s) { s.group(3); }, {225}, {223, 249, 247, 285, 248, 236, 237, 239}, {}, {}},
        {"grouped staff, continuous view", [](Setting& s) { s.group(3), s.shell.continuousView = true; }, {237},
         {236, 239}, {}, {}},
        {"single staff, continuous view", [](Setting& s) { s.group(1), s.shell.continuousView = true; }, {237, 223},
         {239}, {}, {}},
        {"no such staff or page", [](Setting& s) { s.doc.currentStaff = 99, s.doc.currentPage = 7; }, {223}, {}, {}, {}},
        {"modified", [](Setting& s) { s.doc.modified = true; }, {3}, {}, {}, {}},
        {"sticky modified", [](Setting& s) { s.shell.stickyModified = true; }, {3}, {}, {}, {}},
        {"variable mask", [](Setting& s) { s.doc.optional.variableMask = std::make_unique<PageRecord>(); }, {624},
         {623}, {}, {}},
        {"mask editing",
         [](Setting& s) { s.openFile(), s.doc.modified = true, s.shell.maskEditing = true; }, {LeaveMaskCommand, 52},
         {622, 621, 623, 624, 63, 64, 66, 61, 49, 60, 65, 67, 1, 2, 4, 614, 615, 241, 242, 902, 15, 5, 14, 6, 48, 100,
          584, 597, 595, 596, 3, 7, 8, 588, 589, 11, 672, 268},
         {}, {}},
        {"zoom, tool and mask marks",
         [](Setting& s) {
             s.shell.autosaveDelay = 0, s.shell.zoomMenuItem = 54, s.shell.toolMenuItem = 72;
             s.doc.page()->layoutWord().setWithoutVariableMask(true);
         },
         {}, {}, {54, 72, 620}, {492, 51, 86, 619}},
        {"zoom chosen through AUTRE, tool overridden",
         [](Setting& s) { s.shell.zoomMenuItem = 56, s.shell.toolMenuItem = 72, s.doc.toolOverride = 1; }, {}, {},
         {56}, {51, 72}},
    };
    for (const Rule& rule : rules) {
        Setting s;
        rule.set(s);
        const MenuPreparation prepared = s.prepare();
        for (int c : rule.enabled) EXPECT_TRUE(prepared[c].enabled) << rule.name << ": " << c;
        for (int c : rule.disabled) EXPECT_FALSE(prepared[c].enabled) << rule.name << ": " << c;
        for (int c : rule.checked) EXPECT_TRUE(prepared[c].checked) << rule.name << ": " << c;
        for (int c : rule.unchecked) EXPECT_FALSE(prepared[c].checked) << rule.name << ": " << c;
        EXPECT_EQ(prepared.showLeaveMask, s.shell.maskEditing) << rule.name;
    }
}

TEST(MenuState, EveryMenuCommandGetsAStateAndModifiedStaysStickyOutsideMaskEditing) {
    Setting s;
    s.doc.modified = true;
    const MenuPreparation prepared = s.prepare();
    for (int command : MainMenuCommands()) EXPECT_EQ(prepared.commands.count(command), 1u) << command;
    EXPECT_TRUE(prepared.stickyModified);
    s.shell.stickyModified = prepared.stickyModified;
    s.doc.modified = false;
    EXPECT_TRUE(s.prepare()[3].enabled);
    s.shell.maskEditing = true;
    EXPECT_FALSE(s.prepare()[3].enabled);
}

TEST(MenuState, CommandsNotBuiltAreGreyButKeepTheirMark) {
    Setting s;
    const auto built = [](int command) { return command != 51 && command != LeaveMaskCommand; };
    MenuPreparation prepared = PrepareMenus(s.doc, s.shell, s.inputs, built);
    EXPECT_FALSE(prepared[51].enabled);
    EXPECT_TRUE(prepared[51].checked);  // the mark still says where the zoom is
    EXPECT_TRUE(prepared[52].enabled);
    s.shell.maskEditing = true;
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, built)[LeaveMaskCommand].enabled);
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, nullptr)[52].enabled);
}

}  // namespace
}  // namespace notavera
