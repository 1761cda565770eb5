// Note durations in 256ths of a whole note: the length of a duration code with its dots, the split of a
// length into note values, and how far a length moves x when notes are laid one after the other.
#pragma once

#include <vector>

namespace notavera {

inline constexpr unsigned longestDurationCode = 0;    // longa, 1024 256ths
inline constexpr unsigned shortestDurationCode = 10;  // two-hundred-fifty-sixth, 1 256th

// Length of a note of duration code 0–10 with 0–3 dots, in 256ths of a whole: 1024 >> code, each dot adding
// half of the value before it. Codes beyond 10 (the multi-bar rest's 15) have no plain length: 0.
int NoteDuration(unsigned code, unsigned dots);

// The duration codes that make up a length, longest first: the largest of 1024, 512, … 1 that fits,
// repeated on the remainder. A length of 0 or less gives no note.
std::vector<unsigned> SplitDuration(int d256);

// How far x moves after a note of d256 256ths when notes are placed one after the other:
// d × stepUnit ÷ 4 page units (a quarter note advances 16 × stepUnit).
int DurationAdvance(int d256, int stepUnit);

}  // namespace notavera
