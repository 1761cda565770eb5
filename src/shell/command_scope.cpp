// One user action, one undo step: the first scope of the action whose handler changes the score saves the step,
// whether it is the outermost dispatch or a key or character a palette button sends on.
#include "shell/command_scope.h"

#include "edit/undo_steps.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

void EndTypingRun(CommandScopeState& s) { s.runStaff = -1; }

bool InTypingRun(const EditorContext& ctx) {
    const CommandScopeState& s = ctx.shell.commands;
    return s.runStaff >= 0 && s.runPage == ctx.doc.currentPage && s.runStaff == ctx.doc.currentStaff;
}

void SaveStep(EditorContext& ctx, UndoKind kind) {
    UndoStep(ctx.doc, ctx.ui, kind, ctx.shell.input.templateStaffMode);
    ctx.shell.commands.stepSaved = true;
}

}  // namespace

CommandScope::CommandScope(EditorContext& ctx, UndoPolicy policy, bool endsTypingRun) : ctx_(ctx) {
    ctx.ui.holdRepaints();
    CommandScopeState& s = ctx.shell.commands;
    const bool outermost = s.depth++ == 0;
    if (outermost) {
        s.stepTaken = s.stepSaved = false;
        ++s.actions;
    }
    if (s.stepTaken) return;
    switch (policy) {
    case UndoPolicy::None:
        if (outermost && endsTypingRun) EndTypingRun(s);
        return;
    case UndoPolicy::Typing:
        // Further typing on the staff of the run is covered by the step its first edit saved.
        if (!InTypingRun(ctx)) SaveStep(ctx, UndoKind::Save);
        s.runPage = ctx.doc.currentPage;
        s.runStaff = ctx.doc.currentStaff;
        break;
    case UndoPolicy::Step:
        SaveStep(ctx, UndoKind::Save);
        EndTypingRun(s);
        break;
    case UndoPolicy::StepInTemplateMode:
        SaveStep(ctx, UndoKind::SaveAlways);
        EndTypingRun(s);
        break;
    }
    s.stepTaken = true;
}

void SaveStepOfAction(EditorContext& ctx) {
    CommandScopeState& s = ctx.shell.commands;
    if (s.depth > 0 && s.stepTaken) return;
    SaveStep(ctx, UndoKind::Save);
    EndTypingRun(s);
    s.stepTaken = s.depth > 0;
}

void SaveOwnStepOfAction(EditorContext& ctx) {
    CommandScopeState& s = ctx.shell.commands;
    if (s.depth == 0 || !s.stepSaved) {
        SaveStep(ctx, UndoKind::Save);
        s.stepTaken = s.stepSaved = s.depth > 0;
    }
    EndTypingRun(s);
}

CommandScope::~CommandScope() {
    --ctx_.shell.commands.depth;
    ctx_.ui.releaseRepaints();
}

void RunWindowCommand(EditorContext& ctx, const CommandRegistry& commands, int command, bool enabled) {
    const CommandRegistry::Entry* entry = commands.findCommand(command);
    if (entry == nullptr || !enabled) return;
    const CommandScope scope(ctx, entry->policy, true);
    entry->handler(ctx, command);
}

}  // namespace notavera
