// Moving a passage as a whole: its notes by degrees or by an interval of a key, its values by steps of duration,
// and its elements (with those after them on the line) by regular space.
#pragma once

#include <vector>

#include "score/records.h"

namespace notavera {

class UiServices;

// Added to a signed count of degrees to ask for a key transposition: the interval keeps its quality through
// the accidentals, where a plain count keeps the notes inside the key.
inline constexpr int keyTranspositionOffset = 200;

// Moves the notes first..last of the staff by a signed count of degrees (a count of 2 is a second; 0 and a
// diatonic 1 change nothing). With keyTranspositionOffset added, the count is an interval up to a fifteenth
// whose semitones are kept: a 1 is then a chromatic semitone. Rests move with the notes when `restsToo`. The
// key in effect follows the key changes the walk passes. Returns how many elements changed.
int TransposePitch(StaffRecord& staff, int first, int last, int count, bool restsToo);

// Makes the values of the notes and rests first..last longer (negative steps) or shorter (positive). A value
// that would leave longa..two-hundred-fifty-sixth stays as it is, and the warning beep says so (once). Notes
// that become a quarter or longer leave their beam group, which stays closed around them. Returns how many
// elements changed.
int TransposeDurations(StaffRecord& staff, int first, int last, int steps, UiServices& ui);

// Moves the elements at or after x `fromX` on staff `staff` of the page, and on every other staff of its system
// alike so that the voices of the line stay aligned, right by `count` steps of `step` units (left when
// negative). Space is taken out only while no moved element comes within a step and 4 units of the element
// before it, nor left of the page's edge: the move stops at the last whole step that keeps them apart. Returns
// how far the elements moved (signed units).
int InsertSpaces(PageRecord& page, int staff, int fromX, int count, int step);

}  // namespace notavera
