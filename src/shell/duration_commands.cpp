// The "Val" commands and the palette buttons 41 and 42 that open that menu as a popup.
#include "shell/duration_commands.h"

#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/element_values.h"
#include "shell/menu_table.h"

namespace notavera {

namespace {

void RunValueCommand(EditorContext& ctx, int command) {
    const std::optional<unsigned> code = DurationForCommand(command);
    if (!code) return;
    if (ctx.shell.input.keyMode == referenceValueButton)
        ChooseReferenceValue(ctx, *code);
    else
        ChooseDuration(ctx, *code);
}

// Buttons 41 and 42: the popup's choice is dispatched while the button is known, so that the "Val" command
// reads which of the two opened it; a choice from the menu bar later finds no button.
void OpenValuePopup(EditorContext& ctx, int button) {
    if (button == referenceValueButton) {
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
    for (unsigned code = 0; code <= 10; ++code) {
        if (const std::optional<int> command = CommandForDuration(code)) registry.addCommand(*command, RunValueCommand);
    }
    registry.addCommand(valueButton, OpenValuePopup);
    registry.addCommand(referenceValueButton, OpenValuePopup);
}

}  // namespace notavera
