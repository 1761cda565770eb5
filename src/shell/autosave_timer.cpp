// Autosave on the shell's timer: the minute count, the delay and the modes that hold the copy back.
#include "shell/autosave_timer.h"

#include <algorithm>
#include <cctype>

#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int maxAutosaveDelay = 60;

// While an insertion is open, a mask is edited or the template staff is shown, the document is between two
// states: no copy is taken of it then.
bool ModeAllowsAutosave(const ShellState& shell) {
    return !shell.input.insertionOpen && !shell.maskEditing && !shell.input.templateStaffMode;
}

}  // namespace

void AutosaveMinuteTick(EditorContext& ctx) {
    ShellState& shell = ctx.shell;
    if (shell.autosaveDelay <= 0) return;  // the timer does not run
    if (++shell.autosaveMinutes < shell.autosaveDelay) return;
    shell.autosaveMinutes = 0;
    if (ModeAllowsAutosave(shell)) Autosave(ctx.doc, ctx.ui);
}

int ClampAutosaveDelay(const std::string& typed, int previous) {
    std::size_t at = 0;
    while (at < typed.size() && std::isspace(static_cast<unsigned char>(typed[at]))) ++at;
    const bool negative = at < typed.size() && typed[at] == '-';
    if (negative) ++at;
    int value = 0, digits = 0;
    for (; at < typed.size() && digits < 2 && std::isdigit(static_cast<unsigned char>(typed[at])); ++at, ++digits)
        value = value * 10 + (typed[at] - '0');
    if (digits == 0) return previous;
    return negative ? 0 : std::min(value, maxAutosaveDelay);
}

bool SetAutosaveDelay(EditorContext& ctx, int minutes) {
    ctx.shell.autosaveDelay = std::clamp(minutes, 0, maxAutosaveDelay);
    ctx.shell.autosaveMinutes = 0;
    return ctx.shell.autosaveDelay > 0;
}

}  // namespace notavera
