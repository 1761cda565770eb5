// The reference values ("étalons") that time signatures and clefs carry for the spacing: erased, so that the
// spacing of the music after them follows the settings in force before them.
#pragma once

#include "score/records.h"

namespace notavera {

// Every time signature and clef among elements first..last loses its reference value and the two corrections that
// come with it; the variable step stays. Returns how many signs changed.
int EraseReferenceValues(StaffRecord& staff, int first, int last);

}  // namespace notavera
