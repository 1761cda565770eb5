// The pitch rule that turns a note of the score into a MIDI key number.
#include "midi/note_key.h"

#include <array>

namespace notavera {

namespace {

int accidentalSemitones(Accidental a) {
    switch (a) {
        case Accidental::Sharp: return 1;
        case Accidental::Flat: return -1;
        case Accidental::DoubleSharp: return 2;
        case Accidental::DoubleFlat: return -2;
        default: return 0;
    }
}

// Octave-shift codes 1–4: one up, two up, one down, two down; anything else none.
int octaveShiftOctaves(unsigned code) {
    constexpr std::array<int, 5> octaves = {0, 1, 2, -1, -2};
    return code < octaves.size() ? octaves[code] : 0;
}

}  // namespace

std::optional<Accidental> AccidentalOfSemitones(int semitones) {
    switch (semitones) {
        case -2: return Accidental::DoubleFlat;
        case -1: return Accidental::Flat;
        case 0: return Accidental::None;
        case 1: return Accidental::Sharp;
        case 2: return Accidental::DoubleSharp;
        default: return std::nullopt;
    }
}

std::optional<int> MidiKeyOfNote(const ElementRecord& note, int transposition) {
    constexpr std::array<int, 7> pitchClassOfLetter = {0, 2, 4, 5, 7, 9, 11};
    if (!note.isNote()) return std::nullopt;
    const unsigned letter = note.noteWord().step();
    if (letter < 1 || letter > 7) return std::nullopt;
    const int pitchClass = pitchClassOfLetter[letter - 1] + accidentalSemitones(note.noteWord().accidental());
    const int octave = static_cast<int>(note.w0().octave()) + 1 + octaveShiftOctaves(note.w1().octaveShift());
    return octave * 12 + pitchClass + transposition;
}

}  // namespace notavera
