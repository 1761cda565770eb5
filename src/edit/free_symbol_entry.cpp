// The "ZSymbole" prompt and the free accidentals and dots placed from the Z-symbol mode.
#include "edit/free_symbol_entry.h"

#include <optional>
#include <string>

#include "edit/note_entry.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "platform/dialog_model.h"
#include "shell/editor_context.h"
#include "shell/insertion_characters.h"

namespace notavera {

namespace {

// The sign a Z-symbol tool places: its type and the sub-value or dot kind it carries.
struct FreeSymbol {
    SignType type = SignType::FreeAccidental;
    unsigned accidental = 0;
    bool doubleDot = false;
};

std::optional<FreeSymbol> SymbolOfTool(int tool) {
    if (tool == '.' || tool == ':') return FreeSymbol{SignType::FreeDot, 0, tool == ':'};
    if (tool < 0) return std::nullopt;
    if (const std::optional<Accidental> a = AccidentalOfCharacter(static_cast<char32_t>(tool)))
        return FreeSymbol{SignType::FreeAccidental, static_cast<unsigned>(*a), false};
    return std::nullopt;
}

}  // namespace

void StartZSymbolMode(EditorContext& ctx) {
    DialogModel prompt("ZSymbole", "Symbole");
    prompt.addStatic(0, "", std::string(zSymbolPrompt));
    if (ctx.ui.runDialog(prompt)) ctx.shell.zSymbolMode = 1;
}

void PlaceZSymbol(EditorContext& ctx, int index) {
    ScoreDocument& doc = ctx.doc;
    if (index < 0 || index >= noteKeyCount || !doc.staff()) return;
    const std::optional<FreeSymbol> symbol = SymbolOfTool(ctx.shell.currentTool);
    if (!symbol) {
        ctx.ui.beep();
        return;
    }
    ElementRecord* e = CreateSign(doc, ctx.shell.cursor.x, 0, index, symbol->type, symbol->accidental);
    if (!e) return;
    if (symbol->doubleDot) e->signWord().setFlag16(true);
    ctx.shell.zSymbolMode = 0;
    ctx.ui.invalidate();
}

void RegisterZSymbolCharacter(CommandRegistry& registry) {
    registry.addChar('z', [](EditorContext& ctx, int) { StartZSymbolMode(ctx); });
}

}  // namespace notavera
