// Enharmonic respelling, worked on the semitones of the octave: each note name has a semitone above C, and the
// two spellings of the black keys read it back as a name.
#include "edit/respelling.h"

#include <array>
#include <optional>

#include "score/accidental_context.h"
#include "score/score_document.h"

namespace notavera {

namespace {

// The note name (1 C … 7 B) of each semitone above C, black keys spelt as flats or as sharps.
constexpr std::array<unsigned, 12> flatNames = {1, 2, 2, 3, 3, 4, 5, 5, 6, 6, 7, 7};
constexpr std::array<unsigned, 12> sharpNames = {1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7};
constexpr int lastOctave = 7;

struct Spelling {
    unsigned name = 0;
    Accidental accidental = Accidental::None;
    int octave = 0;
};

// The first semitone that bears the name in the table: the white key of that name.
std::optional<int> SemitoneOf(const std::array<unsigned, 12>& names, unsigned name) {
    for (int i = 0; i < 12; ++i)
        if (names[static_cast<std::size_t>(i)] == name) return i;
    return std::nullopt;
}

unsigned At(const std::array<unsigned, 12>& names, int i) { return names[static_cast<std::size_t>(i)]; }

// A sharp or double sharp, spelt from the semitone above its natural (over B into the next octave's C).
Spelling FromAbove(int i, int octave, bool twice) {
    const int next = i == 11 ? 0 : i + 1;
    if (i == 11) ++octave;
    // E and B have a white key a semitone above them.
    const bool whiteAbove = At(sharpNames, i) != At(sharpNames, next);
    if (twice) return {At(flatNames, next), whiteAbove ? Accidental::Sharp : Accidental::None, octave};
    if (whiteAbove) return {At(sharpNames, next), Accidental::None, octave};
    return {At(sharpNames, i + 2), Accidental::Flat, octave};
}

// A flat or double flat, spelt from the semitone below its natural (under C into the previous octave's B).
Spelling FromBelow(int i, int octave, bool twice) {
    const int previous = i == 0 ? 11 : i - 1;
    if (i == 0) --octave;
    // C and F have a white key a semitone below them.
    const bool whiteBelow = At(flatNames, i) != At(flatNames, i + 1);
    if (twice) return {At(flatNames, i == 0 ? 10 : previous), whiteBelow ? Accidental::Flat : Accidental::None, octave};
    return {At(sharpNames, previous), whiteBelow ? Accidental::None : Accidental::Sharp, octave};
}

// A natural note spelt from its neighbour a semitone away; D, G and A have none and stay.
Spelling FromNeighbour(unsigned name, int octave) {
    switch (name) {
    case 3: return {4, Accidental::Flat, octave};
    case 4: return {3, Accidental::Sharp, octave};
    case 7: return {1, Accidental::Flat, octave + 1};
    case 1: return {7, Accidental::Sharp, octave - 1};
    default: return {name, Accidental::None, octave};
    }
}

std::optional<Spelling> Respelt(unsigned name, Accidental accidental, int octave, bool withNaturals) {
    switch (accidental) {
    case Accidental::Sharp:
    case Accidental::DoubleSharp:
        if (const auto i = SemitoneOf(sharpNames, name))
            return FromAbove(*i, octave, accidental == Accidental::DoubleSharp);
        return std::nullopt;
    case Accidental::Flat:
    case Accidental::DoubleFlat:
        if (const auto i = SemitoneOf(flatNames, name))
            return FromBelow(*i, octave, accidental == Accidental::DoubleFlat);
        return std::nullopt;
    case Accidental::None:
    case Accidental::Natural:
        if (withNaturals && name >= 1 && name <= 7) return FromNeighbour(name, octave);
        return std::nullopt;
    default: return std::nullopt;
    }
}

}  // namespace

bool Respell(ScoreDocument& doc, StaffRecord& staff, int index, bool withNaturals) {
    if (index < 0 || index >= static_cast<int>(staff.elements.size())) return false;
    ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.isNote()) return false;
    auto n = e.noteWord();
    const std::optional<Spelling> s =
        Respelt(n.step(), n.accidental(), static_cast<int>(e.w0().octave()), withNaturals);
    if (!s || s->octave < 0 || s->octave > lastOctave) return false;
    n.setStep(s->name);
    n.setAccidental(s->accidental);
    e.w0().setOctave(static_cast<unsigned>(s->octave));
    bool hidden = false;
    if (KeyAt(doc, staff, index, e.x) != 0 && StepInKey(doc.insertion.key, s->name)) {
        const KeyKind kind = doc.insertion.key.kind;
        const Accidental ofKey = kind == KeyKind::Sharps ? Accidental::Sharp : Accidental::Flat;
        hidden = s->accidental == ofKey;
        if (!hidden && s->accidental == Accidental::None) n.setAccidental(Accidental::Natural);
    }
    n.setHiddenAccidental(hidden);
    return true;
}

}  // namespace notavera
