// Step moves of the element at the cursor.
#include "edit/element_moves.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "render/chords.h"
#include "score/accidental_context.h"

namespace notavera {

namespace {

constexpr int lastOctave = 7;
constexpr int namesPerOctave = 7;

bool PlacedOnPitch(const ElementRecord& e) {
    if (!e.isSign()) return true;
    const SignType t = e.signWord().signType();
    return t == SignType::FreeAccidental || t == SignType::FreeDot || t == SignType::Parenthesis;
}

bool HasVerticalOffset(const ElementRecord& e) {
    if (!e.isSign()) return false;
    switch (e.signWord().signType()) {
    case SignType::Text:
    case SignType::Drawing:
    case SignType::Picture:
    case SignType::Curve:
    case SignType::FreeTie:
    case SignType::Hairpin:
    case SignType::Bracket: return true;
    default: return false;
    }
}

unsigned StepOf(const ElementRecord& e) { return e.isSign() ? e.signWord().code() : e.noteWord().step(); }

void SetStep(ElementRecord& e, unsigned step) {
    if (e.isSign()) e.signWord().setCode(step);
    else e.noteWord().setStep(step);
}

int AllowedShift(ScoreDocument& doc, int dx) {
    const ElementRecord* e = doc.element();
    return e ? std::max(dx, -e->x) : 0;
}

// The position of a note or pitched sign moved by `steps`, counted in names from C of octave 0; nothing when it
// leaves the range or the element has no pitch.
std::optional<int> MovedPosition(const ElementRecord& e, int steps) {
    if (!PlacedOnPitch(e)) return std::nullopt;
    const unsigned step = StepOf(e);
    if (step < 1 || step > namesPerOctave) return std::nullopt;
    const int position = static_cast<int>(e.w0().octave()) * namesPerOctave + static_cast<int>(step) - 1 + steps;
    if (position < 0 || position >= (lastOctave + 1) * namesPerOctave) return std::nullopt;
    return position;
}

}  // namespace

bool ElementCanMoveAcross(ScoreDocument& doc, int dx) { return AllowedShift(doc, dx) != 0; }

bool ElementCanMoveUpDown(ScoreDocument& doc, int steps, int offsetStep) {
    const ElementRecord* e = doc.element();
    if (!e || steps == 0) return false;
    if (HasVerticalOffset(*e)) return offsetStep != 0;
    return MovedPosition(*e, steps).has_value();
}

bool MoveElementAcross(ScoreDocument& doc, int dx) {
    dx = AllowedShift(doc, dx);
    if (dx == 0) return false;
    StaffRecord* staff = doc.staff();
    const int cur = doc.currentElement;
    auto& els = staff->elements;
    ChordRun run{cur, cur};
    if (IsChordMember(els[static_cast<std::size_t>(cur)])) run = FindChordRun(*staff, cur);
    const int from = els[static_cast<std::size_t>(cur)].x;
    const auto first = els.begin() + run.first, last = els.begin() + run.last + 1;
    std::vector<ElementRecord> moving(first, last);
    const int member = cur - run.first;
    els.erase(first, last);
    for (ElementRecord& e : moving) e.x += dx;
    const int to = from + dx;
    // Moving right the element goes after those already standing at its new x, moving left before them.
    const auto at = dx > 0 ? std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x > to; })
                           : std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x >= to; });
    const int index = static_cast<int>(at - els.begin());
    els.insert(at, moving.begin(), moving.end());
    doc.currentElement = index + member;
    doc.markModified();
    return true;
}

bool MoveElementUpDown(ScoreDocument& doc, int steps, int offsetStep) {
    if (!ElementCanMoveUpDown(doc, steps, offsetStep)) return false;
    ElementRecord* e = doc.element();
    if (HasVerticalOffset(*e)) {
        e->param += steps * offsetStep;
        doc.markModified();
        return true;
    }
    const int position = *MovedPosition(*e, steps);
    e->w0().setOctave(static_cast<unsigned>(position / namesPerOctave));
    SetStep(*e, static_cast<unsigned>(position % namesPerOctave + 1));
    if (e->isNote() && (e->noteWord().hiddenAccidental() || e->noteWord().accidental() == Accidental::None)) {
        // An accidental the user did not write follows the key and the bar at the new name.
        const std::optional<Accidental> fromContext =
            ContextAccidental(*doc.staff(), doc.currentElement, e->noteWord().step(), e->w0().octave());
        e->noteWord().setAccidental(fromContext.value_or(Accidental::None));
        e->noteWord().setHiddenAccidental(fromContext.has_value());
    }
    doc.markModified();
    return true;
}

}  // namespace notavera
