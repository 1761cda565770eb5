// Notes and rests entered at an x of the current staff from the note keys F1..F9 and the rest characters, with the
// insertion attributes, and the re-pitching of a note in place.
#pragma once

#include <cstdint>
#include <optional>

#include "score/score_document.h"

namespace notavera {

inline constexpr int noteKeyCount = 9;

// The word0 bits of a tie: the note is tied (bit 1) and the tie starts (bit 2) or ends (bit 3) there.
inline constexpr std::uint32_t tieStartWord0Bits = (1u << 1) | (1u << 2);
inline constexpr std::uint32_t tieEndWord0Bits = (1u << 1) | (1u << 3);

// A percussion staff takes only the note keys 4, 5 and 6; every other staff takes them all.
bool StaffTakesNoteKey(const StaffRecord& staff, int index);

// Note key `index` 0..8 (F1..F9) at x: 1..7 are C..B in the insertion octave, 0 B an octave lower, 8 C an octave
// higher. Under the tie form the note starts a tie that ends on the next note entered. Returns the new note, the
// current element; null when none was made.
ElementRecord* EnterNoteAt(ScoreDocument& doc, int x, int index);

// The alternate action of a note key: note `e` keeps its place and takes the key's name in the insertion octave.
void RepitchNote(ScoreDocument& doc, ElementRecord& e, int index);

// A rest of the insertion duration at x, or of `durationCode` without dots; a rest is never part of a chord.
// Returns the new rest, the current element; null when none was made.
ElementRecord* EnterRestAt(ScoreDocument& doc, int x, std::optional<unsigned> durationCode);

// What every entered note leaves behind: the forced accidental is used once, the dots too unless a chord goes on
// on `entered`, still the current element at x.
void UseUpOnceAttributes(ScoreDocument& doc, int x, const ElementRecord* entered);

}  // namespace notavera
