// Bar lines brought back onto their own staff: the cross-staff placement and the fine offset they were given are
// taken off.
#pragma once

#include "score/records.h"

namespace notavera {

// Every bar line among elements first..last stands on its own staff again, without fine offset. Returns how many
// bar lines changed.
int RecallBars(StaffRecord& staff, int first, int last);

}  // namespace notavera
