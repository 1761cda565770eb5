// Note keys, the rest character and the multi-bar rest at the cursor.
#include "shell/note_commands.h"

#include <optional>

#include "edit/entry_place.h"
#include "edit/note_entry.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/keyboard_echo.h"

namespace notavera {

namespace {

// The next note continues on the next line when this one is full; the attributes survive the move.
void ContinueOnNextLineWhenFull(EditorContext& ctx) {
    if (ctx.shell.cursor.x < LineRightLimit(ctx.doc)) return;
    const InsertionState saved = ctx.doc.insertion;
    MoveToNextLine(ctx);
    ctx.doc.insertion = saved;
}

void EnterRestOf(EditorContext& ctx, std::optional<unsigned> durationCode) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.staff()) return;
    ContinueOnNextLineWhenFull(ctx);
    if (!EnterRestAt(doc, ctx.shell.cursor.x, durationCode)) return;
    AdvancePastNote(ctx);
    doc.insertion.dots = 0;
}

}  // namespace

void EnterNote(EditorContext& ctx, int index) {
    ScoreDocument& doc = ctx.doc;
    if (index < 0 || index >= noteKeyCount || !doc.staff()) return;
    ContinueOnNextLineWhenFull(ctx);
    if (!StaffTakesNoteKey(*doc.staff(), index)) return;

    const bool alternate = ctx.shell.input.alternateAction;
    if (alternate) {
        if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
            RepitchNote(doc, *e, index);
            EchoNote(ctx, *e);
            UseUpOnceAttributes(doc, ctx.shell.cursor.x, e);
            return;
        }
    }
    const ElementRecord* e = EnterNoteAt(doc, ctx.shell.cursor.x, index);
    if (!e) return;
    EchoNote(ctx, *e);
    if (!alternate) AdvancePastNote(ctx);
    UseUpOnceAttributes(doc, ctx.shell.cursor.x, doc.element());
}

void EnterRest(EditorContext& ctx) { EnterRestOf(ctx, std::nullopt); }

void EnterMultiBarRest(EditorContext& ctx) {
    EnterRestOf(ctx, NoteWordView<const std::uint32_t>::multiBarRestCode);
}

}  // namespace notavera
