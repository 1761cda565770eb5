// The undo commands of the shell: they leave the continuous view, move through the history and show the
// document as the step left it, with its cursor at the element the step stored.
#include "shell/undo_commands.h"

#include "edit/undo_steps.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/continuous_view.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"

namespace notavera {

void RunUndoCommand(EditorContext& ctx, int command) {
    const UndoKind kind = command == cmd::Undo ? UndoKind::Undo : UndoKind::CancelUndo;
    const UndoHistory& h = ctx.doc.undo;
    if ((kind == UndoKind::Undo ? h.undoCount : h.redoCount) == 0) return;
    // The document changes under the run of typing, whichever way the undo was asked for: typing that follows
    // is a new edit with its own step.
    ctx.shell.commands.runStaff = -1;
    LeaveContinuousView(ctx);
    if (UndoStep(ctx.doc, ctx.ui, kind) == 0) return;
    LeaveContinuousView(ctx);  // the step may bring back a page as it was shown continuous
    // Markers, zones and pending modes belonged to the state that was left.
    ShowDocument(ctx);
    ctx.ui.invalidate();
}

void RegisterUndoCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::Undo, RunUndoCommand);
    registry.addCommand(cmd::CancelUndo, RunUndoCommand);
    registry.addCommand(cmd::ButtonUndo, [](EditorContext& ctx, int) { RunUndoCommand(ctx, cmd::Undo); });
    registry.addCommand(cmd::ButtonCancelUndo, [](EditorContext& ctx, int) { RunUndoCommand(ctx, cmd::CancelUndo); });
    registry.addChar(undoCharacter, [](EditorContext& ctx, int) { DispatchCommand(ctx, cmd::Undo); });
    registry.addChar(redoCharacter, [](EditorContext& ctx, int) { DispatchCommand(ctx, cmd::CancelUndo); });
}

}  // namespace notavera
