// The "Val" commands and the two palette buttons that open that menu as a popup.
#include "shell/duration_commands.h"

#include "edit/region_attributes.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/element_values.h"
#include "shell/entry_cursor.h"
#include "shell/menu_table.h"
#include "shell/region_commands.h"

namespace notavera {

namespace {

void RunValueCommand(EditorContext& ctx, int command) {
    const std::optional<unsigned> code = DurationForCommand(command);
    if (!code) return;
    if (ctx.shell.input.keyMode == cmd::ButtonReferenceValue)
        ChooseReferenceValue(ctx, *code);
    else {
        ChooseDuration(ctx, *code);
        // A menu choice is no typing: undoing it leaves the notes typed before.
        if (NoteOrRestAtCursor(ctx)) SaveOwnStepOfAction(ctx);
        ApplyChosenDuration(ctx, *code);
    }
}

// The value buttons: the popup's choice is dispatched while the button is known, so that the "Val" command
// reads which of the two opened it; a choice from the menu bar later finds no button.
void OpenValuePopup(EditorContext& ctx, int button) {
    if (button == cmd::ButtonReferenceValue) {
        if (const ElementRecord* e = ctx.doc.element()) ShowElementValues(ctx.ui, *e);
    }
    ctx.shell.input.keyMode = button;
    if (const std::optional<int> chosen = ctx.ui.popupValueMenu())
        DispatchCommand(ctx, static_cast<std::uint32_t>(*chosen));
    ctx.shell.input.keyMode = 0;
}

}  // namespace

void ChooseDuration(EditorContext& ctx, unsigned code) {
    ctx.doc.insertion.durationCode = code;
    ctx.shell.dialogs.menuDuration = code;
}

void ApplyChosenDuration(EditorContext& ctx, unsigned code) {
    if (ChangeRegion(ctx, region_id::Duration, code)) return;
    if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
        e->noteWord().setDurationCode(code);
        ctx.doc.markModified();
    }
}

void ChooseReferenceValue(EditorContext& ctx, unsigned code) {
    ScoreDocument& doc = ctx.doc;
    doc.insertion.referenceValue = code;
    ElementRecord* e = doc.element();
    if (!e || !e->isSignOfType(SignType::TimeSignature)) return;
    e->w1().setSmallField(code);
    const auto sign = e->signWord();
    sign.setHigh7(doc.insertion.signAttribute & 0x7F);
    sign.setPairB(doc.settings.polyphonyCorrection ? 1 : 0);
    sign.setPairA(doc.settings.aestheticCorrection ? 1 : 0);
    doc.markModified();
}

void RegisterDurationCommands(CommandRegistry& registry) {
    for (const int command : cmd::Durations) registry.addCommand(command, RunValueCommand, UndoPolicy::Typing);
    registry.addCommand(cmd::ButtonValue, OpenValuePopup);
    registry.addCommand(cmd::ButtonReferenceValue, OpenValuePopup);
}

}  // namespace notavera
