// The shell's side of autosave: the minutes counted on its timer, the delay setting, and the editor modes during
// which no copy is taken.
#pragma once

#include <string>

namespace notavera {

struct EditorContext;

// One call per minute tick of the shell's timer: once the delay has passed, the autosave copy is taken, unless
// an insertion is open, a mask is edited or the template staff is shown.
void AutosaveMinuteTick(EditorContext& ctx);
// The "Délai de sauvegarde" value: typed text clamped to 0–60 (two digits read at most); a text
// without digits keeps the previous value.
int ClampAutosaveDelay(const std::string& typed, int previous);
// Sets the delay (clamped to 0–60); the minute count restarts at 0. True when the timer must run.
bool SetAutosaveDelay(EditorContext& ctx, int minutes);

}  // namespace notavera
