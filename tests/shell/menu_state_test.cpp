// The menus and the palette: what must hold of the menu table whatever its entries, menu preparation one row per
// rule, the palette's buttons placed right to left from the window's edge, and the picture each shows for a state.
#include "shell/menu_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "score/new_document.h"
#include "shell/command_ids.h"
#include "shell/menu_table.h"
#include "shell/palette.h"

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
         623, 624, cmd::LeaveMask, 12345}, {51, 492}, {100}},
        {"continuous view", [](Setting& s) { s.shell.view.continuousView = true; }, {100, 237},
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
        {"grouped staff, continuous view", [](Setting& s) { s.group(3), s.shell.view.continuousView = true; }, {237},
         {236, 239}, {}, {}},
        {"single staff, continuous view", [](Setting& s) { s.group(1), s.shell.view.continuousView = true; }, {237, 223},
         {239}, {}, {}},
        {"no such staff or page", [](Setting& s) { s.doc.currentStaff = 99, s.doc.currentPage = 7; }, {223}, {}, {}, {}},
        {"modified", [](Setting& s) { s.doc.modified = true; }, {3}, {}, {}, {}},
        {"sticky modified", [](Setting& s) { s.shell.stickyModified = true; }, {3}, {}, {}, {}},
        {"variable mask", [](Setting& s) { s.doc.optional.variableMask = std::make_unique<PageRecord>(); }, {624},
         {623}, {}, {}},
        {"mask editing",
         [](Setting& s) { s.openFile(), s.doc.modified = true, s.shell.maskEditing = true; }, {cmd::LeaveMask, 52},
         {622, 621, 623, 624, 63, 64, 66, 61, 49, 60, 65, 67, 1, 2, 4, 614, 615, 241, 242, 902, 15, 5, 14, 6, 48, 100,
          584, 597, 595, 596, 3, 7, 8, 588, 589, 11, 672, 268},
         {}, {}},
        {"zoom, tool and mask marks",
         [](Setting& s) {
             s.shell.autosaveDelay = 0, s.shell.view.zoomMenuItem = 54, s.shell.input.toolMenuItem = 72;
             s.doc.page()->layoutWord().setWithoutVariableMask(true);
         },
         {}, {}, {54, 72, 620}, {492, 51, 86, 619}},
        {"zoom chosen through AUTRE, tool overridden",
         [](Setting& s) { s.shell.view.zoomMenuItem = 56, s.shell.input.toolMenuItem = 72, s.doc.toolOverride = 1; }, {}, {},
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
    const auto built = [](int command) { return command != 51 && command != cmd::LeaveMask; };
    MenuPreparation prepared = PrepareMenus(s.doc, s.shell, s.inputs, built);
    EXPECT_FALSE(prepared[51].enabled);
    EXPECT_TRUE(prepared[51].checked);  // the mark still says where the zoom is
    EXPECT_TRUE(prepared[52].enabled);
    s.shell.maskEditing = true;
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, built)[cmd::LeaveMask].enabled);
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, nullptr)[52].enabled);
}

// The access key of a label: the UTF-8 character after the '&', ASCII letters folded to lower case.
std::string AccessKey(std::string_view label) {
    const auto amp = label.find('&');
    if (amp == std::string_view::npos || amp + 1 >= label.size()) return {};
    const auto lead = static_cast<unsigned char>(label[amp + 1]);
    std::string key(label.substr(amp + 1, lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1));
    if (key.size() == 1) key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
    return key;
}

void ExpectWellFormed(std::string_view where, std::span<const MenuEntry> entries) {
    ASSERT_FALSE(entries.empty()) << where;
    EXPECT_NE(entries.front().kind, MenuEntryKind::Separator) << where;
    EXPECT_NE(entries.back().kind, MenuEntryKind::Separator) << where;
    std::set<std::string> keys;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& entry = entries[i];
        if (entry.kind == MenuEntryKind::Separator) {
            EXPECT_NE(entries[i - 1].kind, MenuEntryKind::Separator) << where;
            continue;
        }
        EXPECT_EQ(std::count(entry.label.begin(), entry.label.end(), '&'), 1) << where << ": " << entry.label;
        EXPECT_TRUE(keys.insert(AccessKey(entry.label)).second) << where << ": key used twice by " << entry.label;
        if (entry.kind == MenuEntryKind::Submenu) ExpectWellFormed(entry.label, entry.submenu);
    }
}

TEST(MenuTable, EveryMenuIsWellFormedAndTheTitlesHaveDistinctKeys) {
    std::set<std::string> titleKeys{AccessKey(LeaveMaskLabel)};
    for (const Menu& menu : MainMenus()) {
        EXPECT_TRUE(titleKeys.insert(AccessKey(menu.title)).second) << menu.title;
        ExpectWellFormed(menu.title, menu.entries);
    }
}

TEST(MenuTable, CommandNumbersAreUniqueAndLeaveThePaletteAndMaskItemsAlone) {
    const std::vector<int> commands = MainMenuCommands();
    const std::set<int> unique(commands.begin(), commands.end());
    EXPECT_EQ(unique.size(), commands.size());
    EXPECT_EQ(unique.count(cmd::LeaveMask), 0u);
    for (int id = 20; id <= 42; ++id) EXPECT_EQ(unique.count(id), 0u) << id;  // the palette buttons
    EXPECT_FALSE(CommandLabel(cmd::LeaveMask).has_value());
    for (const ToolEntry& tool : ToolTable()) {
        EXPECT_TRUE(CommandLabel(tool.command).has_value()) << tool.command;
        EXPECT_EQ(FindTool(tool.command)->currentTool, tool.currentTool);
    }
    EXPECT_FALSE(FindTool(0));
}

TEST(Palette, ButtonsSitRightToLeftTouchingFromTheRightEdge) {
    EXPECT_EQ(PaletteCommand(0), 20);
    EXPECT_EQ(PaletteIndex(42), 22);
    EXPECT_FALSE(PaletteIndex(19));
    EXPECT_FALSE(PaletteIndex(43));
    for (const int clientWidth : {1000, 300}) {  // a narrow window pushes the leftmost buttons off its area
        const auto rects = PaletteLayout(clientWidth);
        int right = clientWidth;
        for (int index = 0; index < PaletteButtonCount; ++index) {
            const PaletteRect& r = rects[static_cast<std::size_t>(index)];
            EXPECT_EQ(r.x + r.width, right) << index;
            EXPECT_EQ(r.width, PaletteButtonWidth(index));
            EXPECT_EQ(r.height, PaletteHeight);
            right = r.x;
        }
        EXPECT_EQ(right, clientWidth - 616);
        EXPECT_EQ(PaletteRowLeft(clientWidth), clientWidth - 616);
    }
    EXPECT_EQ(PaletteLayout(1000)[2], (PaletteRect{888, 0, 56, 28}));
    EXPECT_EQ(PaletteButtonWidth(16), 14);
    for (const PaletteRect& r : PaletteLayout(800, false)) EXPECT_EQ(std::pair(r.x, r.width), std::pair(800, 0));
    EXPECT_EQ(PaletteRowLeft(800, false), 800);
}

TEST(Palette, EachButtonLightsFromItsOwnState) {
    const struct {
        int command;
        PaletteInputs on, off;
    } cases[] = {
        {20, {.undoAvailable = true}, {.cancelAvailable = true}},
        {21, {.cancelAvailable = true}, {.undoAvailable = true}},
        {22, {.alternateAction = true}, {}},
        {36, {.navigationState = 1}, {.navigationState = 2}},
        {37, {.navigationState = 2}, {.navigationState = 1}},
        {38, {.noteFormFlags = 1}, {.noteFormFlags = 2}},
        {39, {.noteFormFlags = 2}, {.noteFormFlags = 1}},
        {40, {.noteFormFlags = 2}, {.noteFormFlags = 0}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(PaletteButtonFace(*PaletteIndex(c.command), false, c.on)->lit) << c.command;
        EXPECT_FALSE(PaletteButtonFace(*PaletteIndex(c.command), false, c.off)->lit) << c.command;
    }
    const PaletteInputs all{.noteFormFlags = 3, .undoAvailable = true};
    for (int command = 23; command <= 35; ++command) {  // plain buttons show only whether they are held
        EXPECT_EQ(PaletteButtonFace(*PaletteIndex(command), true, all)->pressed, true);
        EXPECT_EQ(*PaletteButtonFace(*PaletteIndex(command), false, all),
                  (PaletteFace{PaletteButtonFace(*PaletteIndex(command), false, {})->icon}))
            << command;
    }
    EXPECT_FALSE(PaletteButtonFace(23, false, all));
}

TEST(Palette, TheDurationButtonsShowTheValChoiceOrTheInsertionValueAndTheReferenceValue) {
    PaletteInputs in{.referenceValue = 6, .currentDuration = 5, .paletteDuration = 3};
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(41), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 3, true}));
    in.paletteDuration = 300;  // anything from 255 on means no choice
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(41), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 5, false}));
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(42), true, in),
              (PaletteFace{PaletteIcon::ReferenceValue, true, false, 6, false}));
}

}  // namespace
}  // namespace notavera
