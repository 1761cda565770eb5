// Value and accidental changes of a note under the mouse drag.
#include "edit/note_drag.h"

#include <algorithm>
#include <array>

#include "score/score_document.h"

namespace notavera {

namespace {

constexpr std::array<Accidental, 7> ring{Accidental::QuarterFlat, Accidental::DoubleFlat, Accidental::Flat,
                                         Accidental::Natural,     Accidental::Sharp,      Accidental::DoubleSharp,
                                         Accidental::QuarterSharp};
constexpr unsigned longestCode = 0;
constexpr unsigned shortestCode = 10;
constexpr unsigned longestInBeam = 5;  // an eighth
constexpr unsigned markedBit = 18;

ElementRecord* NoteOfStaff(ScoreDocument& doc, int index) {
    StaffRecord* staff = doc.staff();
    if (staff == nullptr || index < 0 || index >= static_cast<int>(staff->elements.size())) return nullptr;
    ElementRecord& e = staff->elements[static_cast<std::size_t>(index)];
    return e.isNote() ? &e : nullptr;
}

}  // namespace

Accidental RingStep(Accidental a, bool up) {
    if (a == Accidental::None) return up ? Accidental::Sharp : Accidental::Flat;
    const auto at = static_cast<std::size_t>(std::find(ring.begin(), ring.end(), a) - ring.begin());
    if (up) return at + 1 < ring.size() ? ring[at + 1] : Accidental::None;
    return at > 0 ? ring[at - 1] : Accidental::None;
}

bool DragNoteValue(ScoreDocument& doc, int index, bool shorter) {
    ElementRecord* e = NoteOfStaff(doc, index);
    if (e == nullptr || e->noteWord().bit(markedBit)) return false;
    const unsigned code = e->noteWord().durationCode();
    const unsigned next = shorter ? std::min(code + 1, shortestCode) : (code > longestCode ? code - 1 : code);
    if (next == code || (e->w0().inBeam() && next < longestInBeam)) return false;
    e->noteWord().setDurationCode(next);
    doc.insertion.durationCode = next;
    doc.markModified();
    return true;
}

bool DragNoteAccidental(ScoreDocument& doc, int index, bool up) {
    ElementRecord* e = NoteOfStaff(doc, index);
    if (e == nullptr) return false;
    const bool last = static_cast<std::size_t>(index) + 1 == doc.staff()->elements.size();
    if (e->noteWord().bit(markedBit) && last) return false;
    e->noteWord().setAccidental(RingStep(e->noteWord().accidental(), up));
    e->noteWord().setHiddenAccidental(false);
    doc.insertion.accidental = Accidental::None;
    doc.insertion.accidentalForced = false;
    doc.markModified();
    return true;
}

}  // namespace notavera
