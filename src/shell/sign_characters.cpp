// The sign and mark characters of note entry at the cursor.
#include "shell/sign_characters.h"

#include <optional>
#include <string>

#include "edit/curve_entry.h"
#include "edit/free_symbol_entry.h"
#include "edit/note_entry.h"
#include "edit/rhythmic_group_entry.h"
#include "edit/slur_entry.h"
#include "edit/special_bar_entry.h"
#include "render/entry_distances.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/curve_steering.h"
#include "shell/cursor_frame.h"
#include "platform/dialog_model.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/fraction_dialog.h"
#include "shell/insertion_characters.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

void OpenSlurAtCursor(EditorContext& ctx) {
    if (ctx.shell.input.zSymbolMode != 0) return;  // the character chose the free-slur tool instead
    if (const std::optional<SlurStart> start = OpenSlur(ctx.doc, ctx.shell.cursor.x)) {
        ctx.shell.input.slurStart = *start;
        ctx.ui.invalidate();
    }
}

// G: the group's proportion is asked in "Fraction", which offers the current group's again.
void OpenGroupAtCursor(EditorContext& ctx) {
    InputState& input = ctx.shell.input;
    const std::optional<Fraction> f =
        RunFractionDialog(ctx, {static_cast<int>(input.groupNum), static_cast<int>(input.groupDen)});
    if (!f) return;
    input.groupNum = static_cast<unsigned>(f->num);
    input.groupDen = static_cast<unsigned>(f->den);
    if (OpenRhythmicGroup(ctx.doc, ctx.shell.cursor.x, input.groupNum, input.groupDen)) ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

// g: the group's fraction is the shell's, which the cursor also takes from a group note it lands on.
void CloseGroupAtCursor(EditorContext& ctx) {
    const InputState& input = ctx.shell.input;
    if (CloseRhythmicGroup(ctx.doc, ctx.shell.cursor.x, input.groupNum, input.groupDen)) ctx.ui.invalidate();
}

// E: the chosen special bar after the room of a note standing at the cursor, as a bar line; the cursor moves past
// it.
void InsertSpecialBar(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.page() || !doc.staff()) return;
    const std::optional<int> code = SpecialBarCode(doc);
    if (!code) {
        ctx.ui.beep();
        return;
    }
    if (NoteOrRestAtCursor(ctx)) ctx.shell.cursor.x += DefaultElementSpacing(ctx.doc);
    if (!CreateSign(doc, ctx.shell.cursor.x, 0, *code, SignType::Bar, 0)) return;
    ctx.ui.invalidate();
    AdvancePastSign(ctx, DistanceAfterBar(ctx.doc, ctx.shell.settings.distanceSteps));
}

// z: after its prompt, a symbol character chooses a free accidental, free dots or the free slur.
void StartZSymbolMode(EditorContext& ctx) {
    DialogModel prompt("ZSymbole", "Symbole");
    prompt.addStatic(0, "", std::string(zSymbolPrompt));
    if (ctx.ui.runDialog(prompt)) ctx.shell.input.zSymbolMode = 1;
}

std::optional<FreeSymbol> SymbolOfTool(int tool) {
    if (tool == '.' || tool == ':') return FreeSymbol{SignType::FreeDot, 0, tool == ':'};
    if (tool < 0) return std::nullopt;
    if (const std::optional<Accidental> a = AccidentalOfCharacter(static_cast<char32_t>(tool)))
        return FreeSymbol{SignType::FreeAccidental, static_cast<unsigned>(*a), false};
    return std::nullopt;
}

// {: a curve with the default arc over the current staff; the cursor stays, and the keys then steer its points.
void InsertCurve(EditorContext& ctx) {
    const std::optional<CursorFrame> frame = CursorFrameOf(ctx.doc);
    if (!frame) return;
    if (!InsertManipulableCurve(ctx.doc, ctx.shell.cursor.x, 2 * frame->halfSpace, frame->staffHeight)) return;
    StartCurveSteering(ctx);
    ctx.ui.invalidate();
}

}  // namespace

void PlaceZSymbol(EditorContext& ctx, int index) {
    if (index < 0 || index >= noteKeyCount || !ctx.doc.staff()) return;
    const std::optional<FreeSymbol> symbol = SymbolOfTool(ctx.shell.input.currentTool);
    if (!symbol) {
        ctx.ui.beep();
        return;
    }
    if (!PlaceFreeSymbol(ctx.doc, ctx.shell.cursor.x, index, *symbol)) return;
    ctx.shell.input.zSymbolMode = 0;
    ctx.ui.invalidate();
}

void RegisterSignCharacters(CommandRegistry& registry) {
    registry.addChar('(', [](EditorContext& ctx, int) { OpenSlurAtCursor(ctx); }, UndoPolicy::Typing);
    registry.addChar(')', [](EditorContext& ctx, int) {
        CloseSlur(ctx.doc, ctx.ui, ctx.shell.cursor.x, ctx.shell.input.slurStart);
    }, UndoPolicy::Typing);
    registry.addChar('G', [](EditorContext& ctx, int) { OpenGroupAtCursor(ctx); }, UndoPolicy::Typing);
    registry.addChar('g', [](EditorContext& ctx, int) { CloseGroupAtCursor(ctx); }, UndoPolicy::Typing);
    registry.addChar('E', [](EditorContext& ctx, int) { InsertSpecialBar(ctx); }, UndoPolicy::Typing);
    registry.addChar('z', [](EditorContext& ctx, int) { StartZSymbolMode(ctx); });
    registry.addChar('{', [](EditorContext& ctx, int) { InsertCurve(ctx); }, UndoPolicy::Typing);
}

}  // namespace notavera
