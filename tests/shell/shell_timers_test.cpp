// The shell's timers: set only while autosave is on, retried or given up when the system refuses one, and the
// autosave command that switches timer 2.
#include "shell/shell_timers.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

class ShellTimers : public ::testing::Test {
protected:
    void answerDelay(const std::string& typed, bool ok = true) {
        ui.queueDialogAnswer({"AutoSave", {{"Délai en minutes", typed}}, ok});
        DispatchCommand(ctx, autosaveCommand);
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(ShellTimers, StartUpSetsBothOrWithoutAutosaveOnlyTheClickSettleTimer) {
    StartShellTimers(ctx);
    EXPECT_EQ(ui.timers(), (std::set<int>{1, 2}));
    HeadlessUi otherUi{nullptr};
    EditorContext other{otherUi};
    other.shell.autosaveDelay = 0;
    StartShellTimers(other);
    EXPECT_EQ(otherUi.timers(), (std::set<int>{1})) << "without it a click would block drags for good";
    EXPECT_TRUE(otherUi.messages().empty());
}

TEST_F(ShellTimers, ARefusedTimerIsRetriedUntilCancel) {
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

TEST_F(ShellTimers, TheAutosaveCommandSwitchesTimerTwoAndCancelKeepsTheDelay) {
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

TEST_F(ShellTimers, TicksEndTheClickSettleAndCountMinutes) {
    ctx.shell.clickSettle = true;
    OnShellTimer(ctx, clickSettleTimer);
    EXPECT_FALSE(ctx.shell.clickSettle);
    OnShellTimer(ctx, autosaveTimer);
    EXPECT_EQ(ctx.shell.autosaveMinutes, 1);
}

}  // namespace
}  // namespace notavera
