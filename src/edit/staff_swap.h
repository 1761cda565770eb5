// Two staves of a page exchange their music: elements, voice and key signature. What belongs to the place on the
// page (distance, grouping, size, lines, indentation) stays with the place, so the page still matches its staff
// layout model.
#pragma once

#include "score/records.h"

namespace notavera {

// a and b are staves of the page.
void SwapStaffContents(PageRecord& page, int a, int b);

}  // namespace notavera
