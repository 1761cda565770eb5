// The characters J and \ and the "\-Portée chablon" command that sends \.
#include "shell/command_characters.h"

#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int closeInsertionFirst = 16;

}  // namespace

void EnterTemplateStaff(EditorContext& ctx) {
    ShellState& shell = ctx.shell;
    if (shell.input.insertionOpen) {
        ShowRefusal(ctx.ui, closeInsertionFirst);
        return;
    }
    if (shell.input.templateStaffMode || !ctx.doc.staff()) return;
    shell.cursor.templateSavedStaff = ctx.doc.currentStaff;
    shell.cursor.templateSavedElement = ctx.doc.currentElement;
    shell.input.templateStaffMode = true;
    ctx.ui.invalidate();
}

void RegisterCommandCharacters(CommandRegistry& registry) {
    registry.addChar(
        'J', [](EditorContext& ctx, int) { DispatchCommand(ctx, cmd::JustifyToMarkerX); }, UndoPolicy::Step);
    registry.addChar('\\', [](EditorContext& ctx, int) { EnterTemplateStaff(ctx); });
    registry.addCommand(cmd::TemplateStaff, [](EditorContext& ctx, int) { DispatchChar(ctx, '\\'); });
}

}  // namespace notavera
