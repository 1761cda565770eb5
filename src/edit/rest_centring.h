// Rests put where an engraver expects them: a rest alone in its bar in the middle of the bar, and rests at the
// standard height of the clef in force.
#pragma once

#include "score/records.h"

namespace notavera {

// Every rest among elements first..last of the staff that is the only note or rest of its bar moves to the middle
// between the element before it and the bar line that closes the bar, less `halfWidth` so that the rest's middle
// stands there; it never passes the element after it. A rest with no bar line after it, or first on its staff,
// stays. Returns how many rests moved.
int CentreBarRests(StaffRecord& staff, int first, int last, int halfWidth);

// Every rest among elements first..last gets the height a new rest has under the clef in force at its x.
// Returns how many rests changed.
int SetStandardRestHeights(StaffRecord& staff, int first, int last);

}  // namespace notavera
