// The MIDI key number a note sounds: its letter, its own accidental, its octave and octave shift, and a
// transposition in semitones.
#pragma once

#include <optional>

#include "score/records.h"

namespace notavera {

// (octave + 1 + octave shift) × 12 + pitch class of the letter (C 0 … B 11) altered by the note's accidental
// field alone (sharp +1, flat −1, double sharp +2, double flat −2), plus `transposition`. The key is not limited
// to 0–127. Nothing for a rest, a sign, or a letter outside C–B.
std::optional<int> MidiKeyOfNote(const ElementRecord& note, int transposition = 0);

// The accidental that alters a letter by `semitones` (−2 … 2, 0 none); nothing beyond a double sharp or flat.
std::optional<Accidental> AccidentalOfSemitones(int semitones);

}  // namespace notavera
