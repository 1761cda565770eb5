// Removing stretches of elements from a staff. The music after a removed stretch keeps its place: closing the gap
// up is the spacing commands' work, which the user runs when the line is complete.
#pragma once

#include "score/records.h"

namespace notavera {

// Removes the elements first..last of the staff (cut to the staff); false when the range holds none.
bool EraseElements(StaffRecord& staff, int first, int last);

// Removes the elements of the staff whose x lies within [from, to]; false when there are none.
bool EraseBetween(StaffRecord& staff, int from, int to);

}  // namespace notavera
