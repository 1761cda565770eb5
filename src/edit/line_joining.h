// The rest of a line moved up to the end of the line above it in the same voice.
#pragma once

#include "score/records.h"

namespace notavera {

// The staff above `staff` (a staff of the page) that carries the same voice, −1 when there is none.
int LineAbove(const PageRecord& page, int staff);

// Elements from `first` (an element of staff `from`) to the end of staff `from` move to the end of staff `to`, in order
// and keeping their distances; the first of them stands as far after the last element of `to` as it stood after the
// element before it (`gap` when it had none before it); on an empty staff `to` it lands at `firstX`. Returns how many
// moved.
int MoveRestOfLine(PageRecord& page, int from, int first, int to, int gap, int firstX);

}  // namespace notavera
