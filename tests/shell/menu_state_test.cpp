// The menus and the palette: what must hold of the menu table whatever its entries, menu preparation one row per
// rule, the palette's buttons placed right to left from the window's edge, and the picture each shows for a state.
#include "shell/menu_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "score/new_document.h"
#include "shell/dispatch.h"
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
    std::vector<int> enabled = {}, disabled = {}, checked = {}, unchecked = {};
};

TEST(MenuState, EachRuleEnablesAndChecksItsCommands) {
    using namespace cmd;
    const Rule rules[] = {
        {"new document", [](Setting&) {}, {CutLineUp, LayOutPageJustified, CreatePage, InsertStaff, Align, ReadKey},
         {Save, Compress, Undo, ExportInterchange, Paste, RecoverErasure, TraceGhostModel, EraseFixedMask, LeaveMask,
          InvertSharpsFlats, 12345},
         {ZoomNormal, Autosave}, {ContinuousPage}},
        {"continuous view", [](Setting& s) { s.shell.view.continuousView = true; }, {SpaceBlockOptimised},
         {CutLineDown, ToLineAbove, LayOutPageJustified, EditVariableMask, HeaderFooter, ReadKeyToMarker, EraseStaff},
         {ContinuousPage}, {}},
        {"open file, undo and cancel",
         [](Setting& s) { s.openFile(), s.inputs.undoAvailable = s.inputs.cancelAvailable = true; },
         {Compress, Undo, CancelUndo, ExportInterchange}, {ImportInterchange, ReadGuido}, {}, {}},
        {"open file without undo", [](Setting& s) { s.openFile(); }, {ExportInterchange}, {Undo, CancelUndo}, {}, {}},
        {"undo without a file", [](Setting& s) { s.inputs.undoAvailable = s.inputs.cancelAvailable = true; },
         {ImportInterchange, ReadGuido}, {Undo, CancelUndo, ExportInterchange}, {}, {}},
        {"something to paste, recover and trace",
         [](Setting& s) {
             s.shell.copy.copy.page = 1;
             s.shell.copy.erased = {{0, {ElementRecord{}}}};
             s.inputs.pageHasGhostModel = true;
         },
         {Paste, RecoverErasure, TraceGhostModel}, {}, {}, {}},
        {"grouped staff", [](Setting& s) { s.group(3); }, {SpaceLineRaw},
         {Align, SpaceBlockAligned, AlignAutoMatrix, AlignAutoMatrixTools, SpaceBlockOptimised, LayOutPageJustified}},
        {"grouped staff, continuous view", [](Setting& s) { s.group(3), s.shell.view.continuousView = true; },
         {SpaceBlockOptimised}, {SpaceBlockRaw, LayOutPageJustified}},
        {"single staff, continuous view", [](Setting& s) { s.group(1), s.shell.view.continuousView = true; },
         {SpaceBlockOptimised, Align}, {LayOutPageJustified}},
        {"no such staff or page", [](Setting& s) { s.doc.currentStaff = 99, s.doc.currentPage = 7; }, {Align},
         {KeySignature, UnloadKey, ExcludeBarAccidentalsToMarker}},
        {"marker Y on this page", [](Setting& s) { s.shell.cursor.zone.page = 1; }, {InvertSharpsFlats}},
        {"marker Y on another page", [](Setting& s) { s.shell.cursor.zone.page = 2; }, {}, {InvertSharpsFlats}},
        {"modified", [](Setting& s) { s.doc.modified = true; }, {Save}},
        {"sticky modified", [](Setting& s) { s.shell.stickyModified = true; }, {Save}},
        {"variable mask", [](Setting& s) { s.doc.optional.variableMask = std::make_unique<PageRecord>(); },
         {EraseVariableMask}, {EraseFixedMask}},
        {"mask editing", [](Setting& s) { s.openFile(), s.doc.modified = true, s.shell.maskEditing = true; },
         {LeaveMask, ZoomLarge},
         {Quit, New, Save, Compress, Merge, NextPage, GoToMeasure, EditFixedMask, EraseVariableMask, ContinuousPage,
          ReadKeyToMarker, ExportInterchange, ImportInterchange, Undo, TraceGhostModel}},
        {"zoom, tool and mask marks",
         [](Setting& s) {
             s.shell.autosaveDelay = 0, s.shell.view.zoomMenuItem = ZoomSmall, s.shell.input.toolMenuItem = ToolBeams;
             s.doc.page()->layoutWord().setWithoutVariableMask(true);
         },
         {}, {}, {ZoomSmall, ToolBeams, WithoutVariableMask}, {Autosave, ZoomNormal, ToolNotes, WithoutFixedMask}},
        {"zoom chosen through AUTRE, tool overridden", [](Setting& s) {
             s.shell.view.zoomMenuItem = ZoomOther, s.shell.input.toolMenuItem = ToolRest, s.doc.toolOverride = 1;
         }, {}, {}, {ZoomOther}, {ZoomNormal, ToolRest}},
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
    EXPECT_TRUE(s.prepare()[cmd::Save].enabled);
    s.shell.maskEditing = true;
    EXPECT_FALSE(s.prepare()[cmd::Save].enabled);
}

TEST(MenuState, CommandsNotBuiltAreGreyButKeepTheirMark) {
    Setting s;
    const auto built = [](int command) { return command != cmd::ZoomNormal && command != cmd::LeaveMask; };
    MenuPreparation prepared = PrepareMenus(s.doc, s.shell, s.inputs, built);
    EXPECT_FALSE(prepared[cmd::ZoomNormal].enabled);
    EXPECT_TRUE(prepared[cmd::ZoomNormal].checked);  // the mark still says where the zoom is
    EXPECT_TRUE(prepared[cmd::ZoomLarge].enabled);
    s.shell.maskEditing = true;
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, built)[cmd::LeaveMask].enabled);
    EXPECT_FALSE(PrepareMenus(s.doc, s.shell, s.inputs, nullptr)[cmd::ZoomLarge].enabled);
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

TEST(MenuTable, CommandNumbersAreUniqueLeaveThePaletteAndMaskItemsAloneAndEveryHandlerCanBeReached) {
    const std::vector<int> commands = MainMenuCommands();
    const std::set<int> unique(commands.begin(), commands.end());
    EXPECT_EQ(unique.size(), commands.size());
    EXPECT_EQ(unique.count(cmd::LeaveMask), 0u);
    for (int id = cmd::FirstPaletteButton; id <= cmd::LastPaletteButton; ++id) EXPECT_EQ(unique.count(id), 0u) << id;
    EXPECT_FALSE(CommandLabel(cmd::LeaveMask).has_value());
    for (int id = 0; id <= 0xFFFF; ++id)  // a handler under a number no item, button or the mask item sends is dead
        EXPECT_TRUE(unique.count(id) || PaletteIndex(id) || id == cmd::LeaveMask || !CommandIsBuilt(id)) << id;
    for (const ToolEntry& tool : ToolTable()) {
        EXPECT_TRUE(CommandLabel(tool.command).has_value()) << tool.command;
        EXPECT_EQ(FindTool(tool.command)->currentTool, tool.currentTool);
    }
    EXPECT_FALSE(FindTool(0));
}

TEST(Palette, ButtonsSitRightToLeftTouchingFromTheRightEdge) {
    EXPECT_FALSE(PaletteIndex(cmd::FirstPaletteButton - 1) || PaletteIndex(cmd::LastPaletteButton + 1));
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
    EXPECT_EQ(PaletteButtonWidth(*PaletteIndex(cmd::ButtonPlaceAbove)), 14);
    for (const PaletteRect& r : PaletteLayout(800, false)) EXPECT_EQ(std::pair(r.x, r.width), std::pair(800, 0));
    EXPECT_EQ(PaletteRowLeft(800, false), 800);
}

TEST(Palette, EachButtonLightsFromItsOwnState) {
    const struct {
        int command;
        PaletteInputs on, off;
    } cases[] = {
        {cmd::ButtonUndo, {.undoAvailable = true}, {.cancelAvailable = true}},
        {cmd::ButtonCancelUndo, {.cancelAvailable = true}, {.undoAvailable = true}},
        {cmd::ButtonAlternateAction, {.alternateAction = true}, {}},
        {cmd::ButtonPlaceAbove, {.navigationState = 1}, {.navigationState = 2}},
        {cmd::ButtonPlaceBelow, {.navigationState = 2}, {.navigationState = 1}},
        {cmd::ButtonNoteFormA, {.noteFormFlags = 1}, {.noteFormFlags = 2}},
        {cmd::ButtonNoteFormB, {.noteFormFlags = 2}, {.noteFormFlags = 1}},
        {cmd::ButtonNoteFormClear, {.noteFormFlags = 2}, {.noteFormFlags = 0}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(PaletteButtonFace(*PaletteIndex(c.command), false, c.on)->lit) << c.command;
        EXPECT_FALSE(PaletteButtonFace(*PaletteIndex(c.command), false, c.off)->lit) << c.command;
    }
    const PaletteInputs all{.noteFormFlags = 3, .undoAvailable = true};
    // The plain buttons show only whether they are held.
    for (int command = cmd::ButtonInsertionBox; command <= cmd::ButtonPlus; ++command) {
        EXPECT_EQ(PaletteButtonFace(*PaletteIndex(command), true, all)->pressed, true);
        EXPECT_EQ(*PaletteButtonFace(*PaletteIndex(command), false, all),
                  (PaletteFace{PaletteButtonFace(*PaletteIndex(command), false, {})->icon}))
            << command;
    }
    EXPECT_FALSE(PaletteButtonFace(PaletteButtonCount, false, all));
}

TEST(Palette, TheDurationButtonsShowTheValChoiceOrTheInsertionValueAndTheReferenceValue) {
    PaletteInputs in{.referenceValue = 6, .currentDuration = 5, .paletteDuration = 3};
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(cmd::ButtonValue), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 3, true}));
    in.paletteDuration = 300;  // anything from 255 on means no choice
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(cmd::ButtonValue), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 5, false}));
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(cmd::ButtonReferenceValue), true, in),
              (PaletteFace{PaletteIcon::ReferenceValue, true, false, 6, false}));
}

}  // namespace
}  // namespace notavera
