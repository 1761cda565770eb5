// Notes written so far from the staff that they would need many ledger lines: written an octave nearer under an
// octave line (8va above the staff, 8va bassa below), so that they still sound where they did.
#pragma once

#include "score/records.h"

namespace notavera {

// The ledger lines a note may need before it counts as extreme.
inline constexpr int maxLedgerLines = 3;

// Every note among elements first..last without an octave line that stands beyond `maxLedgerLines` ledger lines
// (and the space past the last of them) above or below the five-line staff, under the clef in force at its x, is
// written an octave lower with the 8va mark, or an octave higher with the 8va bassa mark. Returns how many notes
// changed.
int MarkExtremeNotes(StaffRecord& staff, int first, int last);

}  // namespace notavera
