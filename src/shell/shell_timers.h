// The shell's two timers: timer 1 (250 ms) ends the click settle, timer 2 (one minute) counts the minutes of
// autosave. Both run only while autosave is on. Also the autosave command and its "AutoSave" dialog.
#pragma once

#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

inline constexpr int clickSettleTimer = 1;
inline constexpr int clickSettlePeriodMs = 250;
inline constexpr int autosaveTimer = 2;
inline constexpr int autosavePeriodMs = 60000;

// With autosave on, sets the timer, asking message 33 with Retry and Cancel while the system refuses it; with
// autosave off, kills it. 1 when the timer runs (or was killed), 0 when the user gave up.
int SetShellTimer(EditorContext& ctx, int timer, int periodMs);
// Start-up: both timers.
void StartShellTimers(EditorContext& ctx);
// A tick of one of the shell's timers.
void OnShellTimer(EditorContext& ctx, int timer);

DialogModel MakeAutosaveDialog(int delay);
// The autosave command: on OK the delay is stored, then timer 2 follows it when autosave goes on or off.
void RunAutosaveCommand(EditorContext& ctx);

void RegisterTimerCommands(CommandRegistry& registry);

}  // namespace notavera
