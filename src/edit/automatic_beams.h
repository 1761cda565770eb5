// Value bars (beams) set by the beat: eighths and shorter notes that fall in one beat are joined, as engravers beam
// them when the music does not say otherwise.
#pragma once

#include "score/records.h"

namespace notavera {

// Among elements first..last of the staff, every run of two or more consecutive eighths or shorter notes that lie
// in one beat and in no beam group yet becomes a beam group. Time counts from the last bar line or time signature;
// the beat is a quarter, or a dotted quarter under a time signature of 6, 9 or 12 eighths. Rests, longer values,
// notes already beamed, bar lines and beat boundaries end a run; the notes of a chord (one x) count as one, with
// the value of its first note. Returns how many groups were made.
int BeamByBeats(StaffRecord& staff, int first, int last);

}  // namespace notavera
