// The voices of a page laid out as a table: its staves taken in systems of n staves, each staff numbered by its
// place in its system, so that a voice is followed from system to system and from page to page.
#pragma once

#include "score/records.h"

namespace notavera {

// Staff i of the page becomes staff i mod n + 1 of a system of n staves and carries that number as its voice;
// a last system with fewer staves counts them alone. Returns how many staves changed.
int ApplyVoiceTable(PageRecord& page, int n);

}  // namespace notavera
