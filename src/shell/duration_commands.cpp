// The "Val" commands and the palette buttons 41 and 42 that open that menu as a popup.
#include "shell/duration_commands.h"

#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/element_values.h"

namespace notavera {

namespace {

constexpr int firstValueCommand = 530;   // Longa
constexpr int lastValueCommand = 539;    // Quintuple-Cr
constexpr int shortestValueCommand = 583;  // Sextuple-Cr
constexpr unsigned shortestDuration = 10;

void RunValueCommand(EditorContext& ctx, int command) {
    const std::optional<unsigned> code = DurationOfValueCommand(command);
    if (!code) return;
    if (ctx.shell.keyMode == referenceValueButton)
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
    ctx.shell.keyMode = button;
    if (const std::optional<int> chosen = ctx.ui.popupValueMenu()) DispatchCommand(ctx, static_cast<std::uint32_t>(*chosen));
    ctx.shell.keyMode = 0;
}

}  // namespace

std::optional<unsigned> DurationOfValueCommand(int command) {
    if (command >= firstValueCommand && command <= lastValueCommand)
        return static_cast<unsigned>(command - firstValueCommand);
    if (command == shortestValueCommand) return shortestDuration;
    return std::nullopt;
}

void ChooseDuration(EditorContext& ctx, unsigned code) {
    ctx.doc.insertion.durationCode = code;
    ctx.shell.menuDuration = code;
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
    for (int command = firstValueCommand; command <= lastValueCommand; ++command)
        registry.addCommand(command, RunValueCommand);
    registry.addCommand(shortestValueCommand, RunValueCommand);
    registry.addCommand(valueButton, OpenValuePopup);
    registry.addCommand(referenceValueButton, OpenValuePopup);
}

}  // namespace notavera
