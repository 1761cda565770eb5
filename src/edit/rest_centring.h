// Rests put where an engraver expects them: a rest alone in its bar in the middle of the bar, and rests at the
// standard height of the clef in force.
#pragma once

#include "score/records.h"

namespace notavera {

class ScoreDocument;

// Every rest among elements first..last of the staff that is the only note or rest of its bar moves to the middle
// between the element before it and the bar line that closes the bar, less `halfWidth` so that the rest's middle
// stands there; it never passes the element after it. A rest with no bar line after it, or first on its staff,
// stays. Returns how many rests moved.
int CentreBarRests(StaffRecord& staff, int first, int last, int halfWidth);

// Every rest of the score that stands alone in its bar from the bar's start and lasts the bar (an undotted whole
// rest in any meter, or a rest as long as the bar its voice's time signature sets) becomes the whole-bar rest
// engravers write: an undotted whole rest in the middle of the bar, between its bar lines, or between the start of
// its music and the bar line in a line's first bar. Playback gives it the bar's length, as before. Returns how many
// rests it set.
int SetWholeBarRests(ScoreDocument& doc);

// Every rest among elements first..last gets the height a new rest has under the clef in force at its x.
// Returns how many rests changed.
int SetStandardRestHeights(StaffRecord& staff, int first, int last);

}  // namespace notavera
