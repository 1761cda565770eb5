// Attribute characters applied to the note at the cursor, and the bar line and rest characters.
#include "shell/attribute_characters.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "edit/note_entry.h"
#include "render/entry_distances.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/duration_commands.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/note_commands.h"
#include "shell/region_commands.h"

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;
constexpr unsigned quarterInBeamBit = 5;
constexpr unsigned quarterCode = 4;
constexpr unsigned eighthCode = 5;
constexpr int inappropriateValue = 17;
constexpr char barCharacter = '|';

ElementRecord* NoteAtCursor(EditorContext& ctx) {
    ElementRecord* e = NoteOrRestAtCursor(ctx);
    return e && e->isNote() ? e : nullptr;
}

void ApplyDuration(EditorContext& ctx, int) { ApplyChosenDuration(ctx, ctx.doc.insertion.durationCode); }

// The notes standing at the x of note `index` next to it: the chord it belongs to, or the note alone.
std::pair<std::size_t, std::size_t> ChordAround(const std::vector<ElementRecord>& els, std::size_t index) {
    const auto member = [&](std::size_t i) { return els[i].isNote() && els[i].x == els[index].x; };
    std::size_t first = index, last = index;
    while (first > 0 && member(first - 1)) --first;
    while (last + 1 < els.size() && member(last + 1)) ++last;
    return {first, last};
}

// The accidental goes to the note at the cursor and is then used up; without a note it waits for the next one.
void ApplyAccidental(EditorContext& ctx, int) {
    if (ctx.shell.input.zSymbolMode != 0) return;
    ElementRecord* e = NoteAtCursor(ctx);
    if (!e) return;
    InsertionState& ins = ctx.doc.insertion;
    e->noteWord().setAccidental(ins.accidental);
    e->noteWord().setHiddenAccidental(false);
    ins.accidental = Accidental::None;
    ins.accidentalForced = false;
    ctx.doc.markModified();
}

void ApplyDots(EditorContext& ctx, int) {
    if (ctx.shell.input.zSymbolMode != 0) return;
    ElementRecord* e = NoteOrRestAtCursor(ctx);
    if (!e) return;
    InsertionState& ins = ctx.doc.insertion;
    const unsigned dots = std::min(ins.dots, 3u);
    e->noteWord().setDots(dots);
    // Under the alternate action the dots go to the whole chord of the note.
    if (ctx.shell.input.alternateAction && e->isNote()) {
        auto& els = ctx.doc.staff()->elements;
        const auto [first, last] = ChordAround(els, static_cast<std::size_t>(ctx.doc.currentElement));
        for (std::size_t i = first; i <= last; ++i) els[i].noteWord().setDots(dots);
    }
    if ((ins.switches & SwitchC) == 0) ins.dots = 0;
    ctx.doc.markModified();
}

// The tie form: while it is on, every note entered starts a tie that the next note entered ends. The note at the
// cursor starts or stops its own tie at once.
void ApplyTie(EditorContext& ctx, int) {
    InsertionState& ins = ctx.doc.insertion;
    const bool on = (ins.switches & SwitchTie) != 0;
    ins.word0Flags = on ? (ins.word0Flags | tieStartWord0Bits) : (ins.word0Flags & ~tieStartWord0Bits);
    if (ElementRecord* e = NoteAtCursor(ctx)) {
        e->w0().setTieStarts(on);
        e->w0().setTiedToNext(on || e->w0().tieEnds());
        if (on) ins.word0Once |= tieEndWord0Bits;
        ctx.doc.markModified();
    }
}

// Closing a chord: the cursor, which stayed on the chord, moves past its last note.
void LeaveChord(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const ElementRecord* e = NoteAtCursor(ctx);
    if (!e || !e->noteWord().bit(chordBit)) return;
    const StaffRecord& staff = *doc.staff();
    while (static_cast<std::size_t>(doc.currentElement) + 1 < staff.elements.size() &&
           staff.elements[static_cast<std::size_t>(doc.currentElement) + 1].x == e->x)
        ++doc.currentElement;
    ctx.shell.cursor.x = e->x + CursorAdvanceAfterNote(ctx.doc, *e);
}

// The C attribute makes the next notes chord notes: it travels in their note word, and C also marks the note at
// the cursor as the chord's first.
void ApplyChordAttribute(EditorContext& ctx, int c) {
    InsertionState& ins = ctx.doc.insertion;
    const bool on = (ins.switches & SwitchC) != 0;
    // Over a region the notes there take the attribute; the notes entered next do not.
    if (ChangeRegion(ctx, region_id::ChordAttribute, on ? 1 : 0)) {
        ins.switches &= ~SwitchC;
        return;
    }
    ins.noteWordFlags = on ? (ins.noteWordFlags | (1u << chordBit)) : (ins.noteWordFlags & ~(1u << chordBit));
    if (c == 'c') {
        LeaveChord(ctx);
        return;
    }
    if (ElementRecord* e = NoteAtCursor(ctx)) {
        e->noteWord().setBit(chordBit, true);
        ctx.doc.markModified();
    }
}

// Beams join eighths and shorter (quarters too when the note word says so): a longer value refuses the group.
void OpenBeam(EditorContext& ctx, int) {
    InsertionState& ins = ctx.doc.insertion;
    const bool quarterAllowed = (ins.noteWordFlags & (1u << quarterInBeamBit)) != 0;
    const bool tooLong = ins.durationCode < quarterCode || (ins.durationCode == quarterCode && !quarterAllowed);
    if (tooLong) {
        ins.switches &= ~SwitchBeam;
        ShowRefusal(ctx.ui, inappropriateValue);
        return;
    }
    ins.word0Flags |= 1u << 5;  // the following notes belong to the group
    if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
        e->w0().setInBeam(true);
        e->w0().setOpensBeam(true);
        ctx.doc.markModified();
    }
}

void CloseBeam(EditorContext& ctx, int) {
    ctx.doc.insertion.word0Flags &= ~(1u << 5);
    if (ElementRecord* e = NoteOrRestAtCursor(ctx)) {
        e->w0().setInBeam(true);
        e->w0().setClosesBeam(true);
        ctx.doc.markModified();
    }
}

// Values longer than an eighth have no value symbol: the character refuses them.
void ValueSymbol(EditorContext& ctx, int) {
    if (ctx.doc.insertion.durationCode < eighthCode) ShowRefusal(ctx.ui, inappropriateValue);
}

// A bar after a note at the cursor leaves that note its default room.
void EnterBar(EditorContext& ctx, int) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.staff()) return;
    if (NoteOrRestAtCursor(ctx)) ctx.shell.cursor.x += DefaultElementSpacing(ctx.doc);
    if (!CreateSign(doc, ctx.shell.cursor.x, 0, barCharacter, SignType::Bar, 0)) return;
    AdvancePastSign(ctx, DistanceAfterBar(ctx.doc, ctx.shell.settings.distanceSteps));
}

void EnterRestCharacter(EditorContext& ctx, int) { EnterRest(ctx); }

// The switching characters of cue size and staccato change only the insertion attributes, and a region when
// marker Y is set.
void SwitchOverRegion(EditorContext& ctx, int c) {
    const bool on = c == 'M' || c == 'T';
    ChangeRegion(ctx, c == 'M' || c == 'm' ? region_id::CueSize : region_id::Staccato, on ? 1 : 0);
}

void AddEach(CommandRegistry& r, std::u32string_view characters, const CommandHandler& handler) {
    for (const char32_t c : characters) r.addChar(c, handler, UndoPolicy::Typing);
}

}  // namespace

void RegisterAttributeCharacters(CommandRegistry& r) {
    AddEach(r, U"0123456789s", ApplyDuration);
    AddEach(r, U"dbhDBUu", ApplyAccidental);
    AddEach(r, U".:", ApplyDots);
    AddEach(r, U"_-", ApplyTie);
    AddEach(r, U"Cc", ApplyChordAttribute);
    AddEach(r, U"MmTt", SwitchOverRegion);
    r.addChar('[', OpenBeam, UndoPolicy::Typing);
    r.addChar(']', CloseBeam, UndoPolicy::Typing);
    r.addChar('=', ValueSymbol);
    r.addChar('|', EnterBar, UndoPolicy::Typing);
    r.addChar('S', EnterRestCharacter, UndoPolicy::Typing);
}

}  // namespace notavera
