// Entering notes and rests from the keyboard: the note keys F1..F9 at the cursor (or, with the alternate action,
// re-pitching the note there), the rest of the character S and the multi-bar rest of j.
#pragma once

#include <cstdint>

namespace notavera {

struct EditorContext;

inline constexpr int noteKeyCount = 9;

// Note key `index` 0..8 (F1..F9): 1..7 are C..B in the insertion octave, 0 B an octave lower, 8 C an octave
// higher. A full line continues on the voice's next line with the same attributes; a percussion staff takes
// only the keys 4, 5 and 6.
void EnterNote(EditorContext& ctx, int index);

// A rest of the insertion duration at the cursor; the cursor moves past it and the dots are used up.
void EnterRest(EditorContext& ctx);

// A multi-bar rest (a rest of duration code 15) at the cursor, as the rest S is entered; its bar count is a text
// of the text layer ("Silence multiple") placed with it.
void EnterMultiBarRest(EditorContext& ctx);

// The pending action of command 628 "Multi-Silence": the next double click puts a multi-bar rest there.
inline constexpr int multiBarRestMouseMode = 106;

// The word0 bits of a tie: the note is tied (bit 1) and the tie starts (bit 2) or ends (bit 3) there.
inline constexpr std::uint32_t tieStartWord0Bits = (1u << 1) | (1u << 2);
inline constexpr std::uint32_t tieEndWord0Bits = (1u << 1) | (1u << 3);

}  // namespace notavera
