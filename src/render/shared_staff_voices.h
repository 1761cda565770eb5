// Voices that share one staff (superposed staves at one height): their rests and their notes kept out of each
// other's way, as engravers set two or three voices on a staff.
#pragma once

#include "score/records.h"

namespace notavera {

// The upper voice's rests stand two spaces higher, the lower voice's two spaces lower; where both voices rest alike,
// the lower voice's rest is hidden and the upper one stands in a lone voice's place.
void SeparateRestsOfSharedStaves(PageRecord& page);

// The voices of a shared staff are stemmed apart: the first voice's automatic stems up, the others' down, so that
// neither voice's stems run into the other's notes and rests.
void StemSharedStaffVoicesApart(PageRecord& page);

// A clef change that every voice of a shared staff makes in one bar is drawn once, on the staff of the first voice;
// the other voices keep theirs, hidden, to read their pitches in.
void HideClefChangesRepeatedOnSharedStaves(PageRecord& page);

// Notes of two voices at one x whose heads or flags would run into each other are set as engravers set them: in a
// second, or a unison of different heads or dots, the up-stem note's head stands beside the other (the music after
// them moving on when it has no room for it); equal flagged values stemmed the same way share one stem. The notes
// keep their x, so that they still sound together. Returns how many pairs were set.
int SetClashingNotesApart(PageRecord& page, int stepUnit);

}  // namespace notavera
