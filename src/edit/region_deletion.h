// Removing stretches of elements from a staff. The music after a removed stretch keeps its place: closing the gap
// up is the spacing commands' work, which the user runs when the line is complete.
#pragma once

#include <vector>

#include "score/records.h"

namespace notavera {

// Removes the elements first..last of the staff (cut to the staff) and returns them, in order; empty when the
// range holds none.
std::vector<ElementRecord> EraseElements(StaffRecord& staff, int first, int last);

// Removes the elements of the staff whose x lies within [from, to] and returns them; empty when there are none.
std::vector<ElementRecord> EraseBetween(StaffRecord& staff, int from, int to);

}  // namespace notavera
