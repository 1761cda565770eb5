// Clefs replaced over a stretch of a voice: every clef takes one clef number; the notes keep their stored pitch.
#pragma once

#include "score/records.h"

namespace notavera {

// Every clef among elements first..last gets clef number `clef`. Returns how many clefs changed.
int ReplaceClefs(StaffRecord& staff, int first, int last, unsigned clef);

}  // namespace notavera
