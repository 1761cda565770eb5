// Notes and rests entered with the insertion attributes.
#include "edit/note_entry.h"

#include <algorithm>

#include "edit/entry_place.h"
#include "render/arrange_notes.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;
constexpr std::uint32_t crossStaffMask = 3u << 14;

bool PercussionStaff(const StaffRecord& staff) { return staff.lines().layoutFlag(); }
bool PercussionKey(int index) { return index >= 4 && index <= 6; }

// A note added to a chord: the chord is laid out again (order, stem, seconds) and the note entered stays the
// current element wherever the order puts it.
ElementRecord* ArrangeEnteredChord(ScoreDocument& doc) {
    const ElementRecord entered = *doc.element();
    const int staff = doc.currentStaff;
    ArrangeNotesOfPage(doc, staff);
    const StaffRecord& s = *doc.staff();
    const ChordRun run = FindChordRun(s, std::clamp(doc.currentElement, 0, static_cast<int>(s.elements.size()) - 1));
    for (int i = run.first; i <= run.last; ++i) {
        const ElementRecord& m = s.elements[static_cast<std::size_t>(i)];
        if (m.x == entered.x && m.noteWord().step() == entered.noteWord().step() &&
            m.w0().octave() == entered.w0().octave() && m.noteWord().accidental() == entered.noteWord().accidental())
            doc.currentElement = i;
    }
    return doc.element();
}

}  // namespace

bool StaffTakesNoteKey(const StaffRecord& staff, int index) { return !PercussionStaff(staff) || PercussionKey(index); }

ElementRecord* EnterNoteAt(ScoreDocument& doc, int x, int index) {
    MakeNeighbourOfXCurrent(doc, x);
    ElementRecord* e = CreateNoteOrRest(doc, x, false, static_cast<unsigned>(index));
    if (!e) return nullptr;
    // Under the tie form the note starts a tie that ends on the next note entered.
    if ((doc.insertion.switches & SwitchTie) != 0) doc.insertion.word0Once |= tieEndWord0Bits;
    if (e->noteWord().bit(chordBit)) e = ArrangeEnteredChord(doc);
    return e;
}

void RepitchNote(ScoreDocument& doc, ElementRecord& e, int index) {
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

ElementRecord* EnterRestAt(ScoreDocument& doc, int x, std::optional<unsigned> durationCode) {
    MakeNeighbourOfXCurrent(doc, x);
    ElementRecord* e = CreateNoteOrRest(doc, x, true, 0);
    if (!e) return nullptr;
    e->noteWord().setBit(chordBit, false);  // a rest is never part of a chord
    if (durationCode) {
        e->noteWord().setDurationCode(*durationCode);
        e->noteWord().setDots(0);
    }
    return e;
}

void UseUpOnceAttributes(ScoreDocument& doc, int x, const ElementRecord* entered) {
    InsertionState& ins = doc.insertion;
    ins.accidental = Accidental::None;
    ins.accidentalForced = false;
    const bool chordGoesOn = (ins.switches & SwitchC) != 0 && entered && ElementAtX(doc, x) == entered;
    if (!chordGoesOn) ins.dots = 0;
}

}  // namespace notavera
