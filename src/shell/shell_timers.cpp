// The shell's timers and the autosave delay command.
#include "shell/shell_timers.h"

#include "platform/message_ids.h"
#include "shell/autosave_timer.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr const char* delayField = "Délai en minutes";

bool AskRetryTimer(EditorContext& ctx) {
    const MessageAnswer answer = ctx.ui.showMessage({std::string(productName), msg::tooManyTimers,
                                                     std::string(MessageText(msg::tooManyTimers)),
                                                     MessageIcon::Exclamation, MessageButtons::RetryCancel});
    return answer == MessageAnswer::Retry;
}

}  // namespace

int SetShellTimer(EditorContext& ctx, int timer, int periodMs) {
    // Only autosave is switched off by a zero delay: the click-settle timer must run for drags to work at all.
    if (timer == autosaveTimer && ctx.shell.autosaveDelay == 0) {
        ctx.ui.killTimer(timer);
        return 1;
    }
    while (!ctx.ui.setTimer(timer, periodMs)) {
        if (!AskRetryTimer(ctx)) return 0;
    }
    return 1;
}

void StartShellTimers(EditorContext& ctx) {
    SetShellTimer(ctx, clickSettleTimer, clickSettlePeriodMs);
    SetShellTimer(ctx, autosaveTimer, autosavePeriodMs);
}

void OnShellTimer(EditorContext& ctx, int timer) {
    if (timer == clickSettleTimer) ctx.shell.mouse.clickSettle = false;
    if (timer == autosaveTimer) AutosaveMinuteTick(ctx);
}

DialogModel MakeAutosaveDialog(int delay) {
    DialogModel model("AutoSave", "Délai de sauvegarde");
    model.addText(0, delayField, std::to_string(delay), 0);
    model.addStatic(0, "(0 = débrancher)", "(0 = débrancher)");
    return model;
}

void RunAutosaveCommand(EditorContext& ctx) {
    const int before = ctx.shell.autosaveDelay;
    DialogModel model = MakeAutosaveDialog(before);
    if (!ctx.ui.runDialog(model)) return;
    const bool on = SetAutosaveDelay(ctx, ClampAutosaveDelay(model.text(delayField), before));
    // Only a change between off and on touches the timer; a new positive delay keeps the running one.
    if (on != (before != 0)) SetShellTimer(ctx, autosaveTimer, autosavePeriodMs);
}

void RegisterTimerCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::Autosave, [](EditorContext& ctx, int) { RunAutosaveCommand(ctx); });
}

}  // namespace notavera
