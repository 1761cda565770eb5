// Two staves of a page exchange their music: elements, voice and key signature. What belongs to the place on the
// page (distance, grouping, size, lines, indentation) stays with the place, so the page still matches its staff
// layout model.
#pragma once

#include "score/records.h"

namespace notavera {

// False (nothing changes) when a or b is not a staff of the page or both name the same staff.
bool SwapStaffContents(PageRecord& page, int a, int b);

}  // namespace notavera
