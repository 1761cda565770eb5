// Note keys, the rest character and the multi-bar rest.
#include "edit/note_entry.h"

#include <optional>

#include "edit/entry_cursor.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"
#include "shell/editor_context.h"
#include "shell/keyboard_echo.h"

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;
constexpr std::uint32_t crossStaffMask = 3u << 14;

bool PercussionStaff(const StaffRecord& staff) { return staff.lines().layoutFlag(); }
bool PercussionKey(int index) { return index >= 4 && index <= 6; }

// The next note continues on the next line when this one is full; the attributes survive the move.
void ContinueOnNextLineWhenFull(EditorContext& ctx) {
    if (ctx.shell.cursor.x < LineRightLimit(ctx)) return;
    const InsertionState saved = ctx.doc.insertion;
    MoveToNextLine(ctx);
    ctx.doc.insertion = saved;
}

// The alternate action: the note keeps its place and takes the key's name in the insertion octave.
void Repitch(EditorContext& ctx, ElementRecord& e, int index) {
    ScoreDocument& doc = ctx.doc;
    const std::optional<NotePitch> pitch = ApplyPitchRule(static_cast<unsigned>(index), doc.insertion.octave);
    if (!pitch) return;
    e.w0().setOctave(pitch->octave);
    e.noteWord().setStep(pitch->step);
    e.word0 = (e.word0 & ~crossStaffMask) | (doc.insertion.word0Flags & crossStaffMask);
    std::optional<Accidental> fromContext;
    if (!e.isRest()) fromContext = ContextAccidental(*doc.staff(), doc.currentElement, pitch->step, pitch->octave);
    e.noteWord().setAccidental(fromContext.value_or(Accidental::None));
    e.noteWord().setHiddenAccidental(fromContext.has_value());
    doc.markModified();
}

// What every entered note leaves behind: the forced accidental is used once, the dots too unless a chord goes on.
void UseUpOnceAttributes(EditorContext& ctx, const ElementRecord* entered) {
    InsertionState& ins = ctx.doc.insertion;
    ins.accidental = Accidental::None;
    ins.accidentalForced = false;
    const bool chordGoesOn = (ins.switches & SwitchC) != 0 && entered && ElementAtCursor(ctx) == entered;
    if (!chordGoesOn) ins.dots = 0;
}

}  // namespace

void EnterNote(EditorContext& ctx, int index) {
    ScoreDocument& doc = ctx.doc;
    if (index < 0 || index >= noteKeyCount || !doc.staff()) return;
    ContinueOnNextLineWhenFull(ctx);
    if (PercussionStaff(*doc.staff()) && !PercussionKey(index)) return;

    if (ctx.shell.input.alternateAction) {
        if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
            Repitch(ctx, *e, index);
            EchoNote(ctx, *e);
            UseUpOnceAttributes(ctx, e);
            return;
        }
    }
    ElementRecord* e = CreateNoteOrRest(doc, ctx.shell.cursor.x, false, static_cast<unsigned>(index));
    if (!e) return;
    // Under the tie form the note starts a tie that ends on the next note entered.
    if ((doc.insertion.switches & SwitchTie) != 0) doc.insertion.word0Once |= tieEndWord0Bits;
    EchoNote(ctx, *e);
    if (!ctx.shell.input.alternateAction) AdvancePastNote(ctx);
    UseUpOnceAttributes(ctx, doc.element());
}

namespace {

void EnterRestOf(EditorContext& ctx, std::optional<unsigned> durationCode) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.staff()) return;
    ContinueOnNextLineWhenFull(ctx);
    ElementRecord* e = CreateNoteOrRest(doc, ctx.shell.cursor.x, true, 0);
    if (!e) return;
    e->noteWord().setBit(chordBit, false);  // a rest is never part of a chord
    if (durationCode) {
        e->noteWord().setDurationCode(*durationCode);
        e->noteWord().setDots(0);
    }
    AdvancePastNote(ctx);
    doc.insertion.dots = 0;
}

}  // namespace

void EnterRest(EditorContext& ctx) { EnterRestOf(ctx, std::nullopt); }

void EnterMultiBarRest(EditorContext& ctx) {
    EnterRestOf(ctx, NoteWordView<const std::uint32_t>::multiBarRestCode);
}

}  // namespace notavera
