// Enharmonic respelling: the note takes the neighbouring name, and its accidental becomes whatever brings that name
// back to the key it sounded.
#include "edit/respelling.h"

#include <optional>

#include "midi/note_key.h"
#include "score/accidental_context.h"
#include "score/score_document.h"

namespace notavera {

namespace {

constexpr int lastOctave = 7;

// The way to the neighbouring name: sharps up, flats down; among the plain notes, those with a white key a semitone
// away (E and B up, F and C down) and, as themselves, the others. Nothing where the note is left alone.
std::optional<int> NameStep(unsigned name, Accidental accidental, bool withNaturals) {
    switch (accidental) {
    case Accidental::Sharp:
    case Accidental::DoubleSharp: return 1;
    case Accidental::Flat:
    case Accidental::DoubleFlat: return -1;
    case Accidental::None:
    case Accidental::Natural:
        if (!withNaturals) return std::nullopt;
        return name == 3 || name == 7 ? 1 : name == 4 || name == 1 ? -1 : 0;
    default: return std::nullopt;
    }
}

// Writes the note at the neighbouring name and returns the accidental that keeps its key; nothing when it is left
// alone.
std::optional<Accidental> RespellName(ElementRecord& e, bool withNaturals) {
    if (!e.isNote()) return std::nullopt;
    const unsigned name = e.noteWord().step();
    const std::optional<int> step = NameStep(name, e.noteWord().accidental(), withNaturals);
    const std::optional<int> sounding = MidiKeyOfNote(e);
    if (!step || !sounding) return std::nullopt;
    // Over B into the next octave's C, under C into the previous octave's B.
    int target = static_cast<int>(name) + *step;
    int octave = static_cast<int>(e.w0().octave());
    if (target > 7) {
        target = 1;
        ++octave;
    } else if (target < 1) {
        target = 7;
        --octave;
    }
    if (octave < 0 || octave > lastOctave) return std::nullopt;
    ElementRecord respelt = e;
    respelt.noteWord().setStep(static_cast<unsigned>(target));
    respelt.noteWord().setAccidental(Accidental::None);
    respelt.w0().setOctave(static_cast<unsigned>(octave));
    const std::optional<Accidental> accidental = AccidentalOfSemitones(*sounding - *MidiKeyOfNote(respelt));
    if (!accidental) return std::nullopt;
    e.noteWord().setStep(static_cast<unsigned>(target));
    e.noteWord().setAccidental(*accidental);
    e.w0().setOctave(static_cast<unsigned>(octave));
    return accidental;
}

// On a name the key alters, the key's own accidental is hidden and a note without one gets a shown natural.
void ShowAccidentalInKey(ElementRecord& e, Accidental accidental, const KeyInEffect& key) {
    auto n = e.noteWord();
    bool hidden = false;
    if (key.count != 0 && StepInKey(key, n.step())) {
        const Accidental ofKey = key.kind == KeyKind::Sharps ? Accidental::Sharp : Accidental::Flat;
        hidden = accidental == ofKey;
        if (!hidden && accidental == Accidental::None) n.setAccidental(Accidental::Natural);
    }
    n.setHiddenAccidental(hidden);
}

}  // namespace

bool Respell(ScoreDocument& doc, StaffRecord& staff, int index, bool withNaturals) {
    if (index < 0 || index >= static_cast<int>(staff.elements.size())) return false;
    ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const std::optional<Accidental> accidental = RespellName(e, withNaturals);
    if (!accidental) return false;
    KeyAt(doc, staff, index, e.x);
    ShowAccidentalInKey(e, *accidental, doc.insertion.key);
    return true;
}

bool Respell(ElementRecord& note, bool withNaturals, const KeyInEffect& key) {
    const std::optional<Accidental> accidental = RespellName(note, withNaturals);
    if (!accidental) return false;
    ShowAccidentalInKey(note, *accidental, key);
    return true;
}

}  // namespace notavera
