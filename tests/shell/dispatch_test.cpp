// Command, key, character and timer dispatch: the tool check mark and pending modes, the Ctrl renumbering, the
// characters the shell owns, the palette buttons, zoom, the "Val" popup, and the shell's timers and autosave.
#include "shell/dispatch.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "platform/headless/headless_ui.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/menu_table.h"
#include "shell/shell_timers.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

// A window that counts how pending click modes end and answers the "Val" popup from a queued choice.
class WindowUi : public HeadlessUi {
public:
    WindowUi() : HeadlessUi(nullptr) {}
    void endMouseMode() override { ++mouseModesEnded; }
    void repaint() override { ++repaints; }
    std::optional<int> popupValueMenu() override { return std::exchange(popupChoice, std::nullopt); }

    int mouseModesEnded = 0;
    int repaints = 0;
    std::optional<int> popupChoice;
};

class Dispatch : public ::testing::Test {
protected:
    WindowUi ui;
    EditorContext ctx{ui};
};

TEST(DispatchKeys, CtrlAndShiftRenumberTheKeysAndNoSubsystemTakesAnotherOnesNumber) {
    EXPECT_EQ(TranslateKey(Key::Left, {true, true}), elementMoveKeyOffset + 37);
    EXPECT_EQ(TranslateKey(Key::PageUp, {true, true}), 206);
    EXPECT_EQ(TranslateKey(Key::Down, {false, true}), 34);
    EXPECT_EQ(TranslateKey(Key::F3, {}), 114);
    EXPECT_EQ(CoreCommands().replacedCount(), 0);
}

TEST_F(Dispatch, ACheckedToolMovesTheCheckMarkAndAStarredOneRemovesItButNotAPendingClick) {
    DispatchCommand(ctx, cmd::ToolSlurs);
    EXPECT_EQ(ctx.shell.input.currentTool, '(');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, cmd::ToolSlurs);
    ctx.shell.input.mouseMode = cmd::CutLineDown;  // a line cut waits under its own number
    DispatchCommand(ctx, cmd::ToolDoubleSharp);  // of the Insérer menu: no check mark
    EXPECT_EQ(ctx.shell.input.currentTool, 'D');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, 0);
    EXPECT_EQ(ctx.shell.input.mouseMode, cmd::CutLineDown);
    EXPECT_EQ(ui.mouseModesEnded, 0);
    DispatchCommand(ctx, cmd::ToolHideAccidental);
    EXPECT_EQ(ctx.shell.input.currentTool, 300);
    EXPECT_EQ(ctx.shell.input.hideKind, 2);
    EXPECT_EQ(ctx.shell.input.toolMenuItem, cmd::ToolHideAccidental);
}

TEST_F(Dispatch, ChoosingAToolWhileALineCutWaitsCancelsTheCut) {
    ctx.shell.input.mouseMode = cmd::CutLineUp;
    ctx.doc.toolOverride = 1;
    DispatchCommand(ctx, cmd::ToolNotes);
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    EXPECT_EQ(ui.mouseModesEnded, 1);
    EXPECT_EQ(ctx.doc.toolOverride, 0);
    EXPECT_EQ(ctx.shell.input.currentTool, 'N');
}

TEST_F(Dispatch, ACommandWithAHighWordOrNotBuiltDoesNothing) {
    DispatchCommand(ctx, (1u << 16) | cmd::ToolSlurs);
    EXPECT_EQ(ctx.shell.input.currentTool, 'N');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, cmd::ToolNotes);
    DispatchCommand(ctx, (1u << 16) | cmd::ZoomLarge);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{1, 1}));
    EXPECT_TRUE(CommandIsBuilt(cmd::ToolSlurs));
    constexpr int unbuilt = 9999;  // a number no menu item has
    EXPECT_FALSE(CommandIsBuilt(unbuilt));
    DispatchCommand(ctx, unbuilt);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Dispatch, DurationCharactersSetTheValMenuAndEscapeLeavesThePendingModes) {
    DispatchChar(ctx, 's');
    EXPECT_EQ(std::pair(ctx.doc.insertion.durationCode, ctx.shell.dialogs.menuDuration), std::pair(10u, 10u));
    ctx.shell.input.zSymbolMode = 1;
    ctx.shell.input.mouseMode = 69;
    DispatchKey(ctx, Key::Escape, {});
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 0);
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    EXPECT_EQ(ui.mouseModesEnded, 1);
}

TEST_F(Dispatch, PaletteButtonsSendTheOpeningOrClosingCharacterOfTheirPair) {
    const CommandRegistry window;  // the window's own handlers never hide those of the core
    ctx.platformCommands = &window;
    DispatchChar(ctx, '5');  // beams join eighths: a quarter would refuse the group
    DispatchChar(ctx, '[');
    EXPECT_NE(ctx.doc.insertion.switches & SwitchBeam, 0u);
    DispatchCommand(ctx, cmd::ButtonBeam);  // sends ] while the beam group is open
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchBeam, 0u);
    DispatchCommand(ctx, cmd::ButtonTie);  // sends _ while the tie form is off
    EXPECT_NE(ctx.doc.insertion.switches & SwitchTie, 0u);
    DispatchChar(ctx, '-');
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchTie, 0u);
    ui.queueDialogAnswer({"Fraction", {{"Numérateur", "3"}, {"Dénominateur", "2"}}, true});
    DispatchCommand(ctx, cmd::ButtonRhythmicGroup);  // sends G, which asks its fraction
    EXPECT_NE(ctx.doc.insertion.switches & SwitchGroup, 0u);
    EXPECT_EQ(std::pair(ctx.shell.input.groupNum, ctx.shell.input.groupDen), std::pair(3u, 2u));
    DispatchCommand(ctx, cmd::ButtonRhythmicGroup);  // then g
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchGroup, 0u);
}

TEST_F(Dispatch, NoteFormButtonsSetTheStemBitsOfNewNotes) {
    const auto stemBits = [&] { return (ctx.doc.insertion.noteWordFlags >> 13) & 3u; };
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 2) << "stems start automatic";
    EXPECT_EQ(stemBits(), 1u);
    const std::tuple<int, int, unsigned> presses[] = {{cmd::ButtonNoteFormClear, 0, 0}, {cmd::ButtonNoteFormA, 1, 2},
        {cmd::ButtonNoteFormB, 2, 1}, {cmd::ButtonNoteFormA, 3, 3}, {cmd::ButtonNoteFormClear, 0, 0}};
    for (const auto& [command, flags, bits] : presses) {
        DispatchCommand(ctx, command);
        EXPECT_EQ(ctx.shell.input.noteFormFlags, flags) << command;
        EXPECT_EQ(stemBits(), bits) << command;  // flag A: stem up (bit 14); flag B: automatic (bit 13)
    }
    DispatchCommand(ctx, cmd::ButtonAlternateAction);
    EXPECT_TRUE(ctx.shell.input.alternateAction);
}

TEST_F(Dispatch, ZoomCommandsAndTheFractionDialog) {
    for (const MenuEntry& item : MainMenus()[3].entries) {  // Zoom: each fixed item gives the fraction it shows
        ZoomFraction shown{0, 0};
        if (std::sscanf(std::string(item.label).c_str(), "%*s %d/%d", &shown.num, &shown.den) != 2) continue;
        DispatchCommand(ctx, item.command);
        EXPECT_TRUE(ctx.shell.view.zoom == shown && ctx.shell.view.zoomMenuItem == item.command) << item.label;
    }
    DispatchCommand(ctx, cmd::ZoomOther);  // cancelled: nothing changes
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{3, 4}));
    EXPECT_EQ(ctx.shell.view.zoomMenuItem, cmd::ZoomThreeQuarters);
    ui.queueDialogAnswer({"Fraction", {{"Numérateur", "250"}, {"Dénominateur", "7"}}, true});
    DispatchCommand(ctx, cmd::ZoomOther);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{99, 7}));
    EXPECT_EQ(ctx.shell.view.zoomMenuItem, cmd::ZoomOther);
    EXPECT_EQ(ui.repaints, 6);
}

TEST_F(Dispatch, ThePopupOfTheReferenceValueButtonGivesItToATimeSignature) {
    test::ScoreBuilder score;
    score.on(1, 0).meter(200, 3, 4);
    score.setCurrent(1, 0, 0);
    ctx.doc = std::move(score.doc());
    ctx.doc.insertion.signAttribute = 9;
    ui.popupChoice = cmd::DurationHalf;
    DispatchCommand(ctx, cmd::ButtonReferenceValue);
    ASSERT_NE(ctx.doc.element(), nullptr);
    EXPECT_EQ(std::pair(ctx.doc.element()->w1().smallField(), ctx.doc.element()->signWord().high7()), std::pair(3u, 9u));
    // The reference value changes, the note duration does not.
    EXPECT_EQ(std::pair(ctx.doc.insertion.referenceValue, ctx.doc.insertion.durationCode), std::pair(3u, 4u));
    EXPECT_EQ(ctx.shell.input.keyMode, 0);
    EXPECT_EQ(ui.messages().size(), 1u);  // the values of the time signature were shown first
    ui.popupChoice = cmd::DurationEighth;  // from the value button the same item is a note duration
    DispatchCommand(ctx, cmd::ButtonValue);
    EXPECT_EQ(std::pair(ctx.doc.insertion.referenceValue, ctx.doc.insertion.durationCode), std::pair(3u, 5u));
}

TEST_F(Dispatch, StartUpSetsBothOrWithoutAutosaveOnlyTheClickSettleTimer) {
    StartShellTimers(ctx);
    EXPECT_EQ(ui.timers(), (std::set<int>{1, 2}));
    HeadlessUi otherUi{nullptr};
    EditorContext other{otherUi};
    other.shell.autosaveDelay = 0;
    StartShellTimers(other);
    EXPECT_EQ(otherUi.timers(), (std::set<int>{1})) << "without it a click would block drags for good";
    EXPECT_TRUE(otherUi.messages().empty());
}

TEST_F(Dispatch, ARefusedTimerIsRetriedUntilCancel) {
    ui.refuseTimers(1);
    ui.queueAnswer(MessageAnswer::Retry);
    EXPECT_EQ(SetShellTimer(ctx, 2, autosavePeriodMs), 1);
    EXPECT_EQ(ui.timers(), (std::set<int>{2}));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].stringId, 33);
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::RetryCancel);
    ui.refuseTimers(2);
    ui.queueAnswer(MessageAnswer::Retry);
    ui.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(SetShellTimer(ctx, 1, clickSettlePeriodMs), 0);
    EXPECT_EQ(ui.timers(), (std::set<int>{2}));
}

TEST_F(Dispatch, TheAutosaveCommandSwitchesTimerTwoAndCancelKeepsTheDelay) {
    const auto answerDelay = [&](const std::string& typed, bool ok = true) {
        ui.queueDialogAnswer({"AutoSave", {{"Délai en minutes", typed}}, ok});
        DispatchCommand(ctx, cmd::Autosave);
    };
    StartShellTimers(ctx);
    const std::pair<const char*, int> answers[] = {{"0", 0}, {"75", 60}, {"-5", 0}, {"2", 2}};
    for (const auto& [typed, delay] : answers) {
        answerDelay(typed);
        EXPECT_EQ(ctx.shell.autosaveDelay, delay) << typed;
        EXPECT_EQ(ui.timers(), (delay ? std::set<int>{1, 2} : std::set<int>{1})) << typed;
    }
    ctx.shell.autosaveMinutes = 1;
    answerDelay("9", false);
    EXPECT_EQ(ctx.shell.autosaveDelay, 2);
    EXPECT_EQ(ctx.shell.autosaveMinutes, 1);
}

}  // namespace
}  // namespace notavera
