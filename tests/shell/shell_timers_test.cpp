// The shell's timers: set only while autosave is on, retried or given up when the system refuses one, and the
// autosave command that switches timer 2.
#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/shell_timers.h"

namespace notavera {
namespace {

class ShellTimers : public ::testing::Test {
protected:
    void answerDelay(const std::string& typed) {
        ui.queueDialogAnswer({"AutoSave", {{"Délai en minutes", typed}}, true});
        DispatchCommand(ctx, autosaveCommand);
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(ShellTimers, BothRunFromStartUp) {
    StartShellTimers(ctx);
    EXPECT_EQ(ui.timers(), (std::set<int>{1, 2}));
}

TEST_F(ShellTimers, AutosaveDelayZeroLeavesOnlyTheClickSettleTimer) {
    ctx.shell.autosaveDelay = 0;
    StartShellTimers(ctx);
    EXPECT_EQ(ui.timers(), (std::set<int>{1})) << "without it a click would block drags for good";
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ShellTimers, ARefusedTimerIsRetriedUntilCancel) {
    ui.refuseTimers(1);
    ui.queueAnswer(MessageAnswer::Retry);
    EXPECT_EQ(SetShellTimer(ctx, 2, autosavePeriodMs), 1);
    EXPECT_EQ(ui.timers(), (std::set<int>{2}));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].stringId, 33);
    EXPECT_EQ(ui.messages()[0].text, "Trop d'horloges actives!");
    EXPECT_EQ(ui.messages()[0].caption, "Notavera");
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::RetryCancel);

    ui.refuseTimers(2);
    ui.queueAnswer(MessageAnswer::Retry);
    ui.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(SetShellTimer(ctx, 1, clickSettlePeriodMs), 0);
    EXPECT_EQ(ui.timers(), (std::set<int>{2}));
}

TEST_F(ShellTimers, TheAutosaveCommandSwitchesTimerTwo) {
    StartShellTimers(ctx);
    answerDelay("0");
    EXPECT_EQ(ctx.shell.autosaveDelay, 0);
    EXPECT_EQ(ui.timers(), (std::set<int>{1}));
    answerDelay("75");
    EXPECT_EQ(ctx.shell.autosaveDelay, 60);
    EXPECT_EQ(ui.timers(), (std::set<int>{1, 2}));
    answerDelay("-5");
    EXPECT_EQ(ctx.shell.autosaveDelay, 0);
    EXPECT_EQ(ui.timers(), (std::set<int>{1}));
}

TEST_F(ShellTimers, CancelKeepsTheDelayAndTheMinuteCount) {
    ctx.shell.autosaveMinutes = 1;
    ui.queueDialogAnswer({"AutoSave", {{"Délai en minutes", "9"}}, false});
    DispatchCommand(ctx, autosaveCommand);
    EXPECT_EQ(ctx.shell.autosaveDelay, 2);
    EXPECT_EQ(ctx.shell.autosaveMinutes, 1);
}

TEST_F(ShellTimers, TicksEndTheClickSettleAndCountMinutes) {
    ctx.shell.mouse.clickSettle = true;
    OnShellTimer(ctx, clickSettleTimer);
    EXPECT_FALSE(ctx.shell.mouse.clickSettle);
    OnShellTimer(ctx, autosaveTimer);
    EXPECT_EQ(ctx.shell.autosaveMinutes, 1);
}

}  // namespace
}  // namespace notavera
