// Autosave: the minute count of the shell's timer, the autosave copy itself, and the delay setting.
#include <algorithm>
#include <cctype>

#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int maxAutosaveDelay = 60;

bool AutosaveAllowed(const EditorContext& ctx) {
    const ShellState& shell = ctx.shell;
    return ctx.doc.storage.fileState != FileState::None && !ctx.doc.storage.path.empty() && ctx.doc.modified &&
           !shell.input.insertionOpen && !shell.maskEditing && !shell.input.templateStaffMode;
}

}  // namespace

void AutosaveMinuteTick(EditorContext& ctx) {
    ShellState& shell = ctx.shell;
    if (shell.autosaveDelay <= 0) return;  // the timer does not run
    if (++shell.autosaveMinutes < shell.autosaveDelay) return;
    shell.autosaveMinutes = 0;
    Autosave(ctx);
}

void Autosave(EditorContext& ctx) {
    if (!AutosaveAllowed(ctx)) return;
    ScoreDocument& doc = ctx.doc;
    DocumentStorage& st = doc.storage;
    const int page = doc.currentPage, staff = doc.currentStaff, element = doc.currentElement;
    // The pages go into the working file only: a pending publication waits for an explicit save,
    // and the document stays modified with respect to its published version.
    ctx.ui.setWaitCursor(true);
    if (SaveToWorkingFile(ctx)) ReplaceWithCopy(st.workingPath, AutosaveName(st.path));
    ctx.ui.setWaitCursor(false);
    doc.modified = true;
    doc.currentPage = page;
    doc.currentStaff = staff;
    doc.currentElement = element;
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
