// Elements lifted from consecutive staves, and their insertion at the cursor: what paste and erase recovery
// put back into the score.
#pragma once

#include <vector>

#include "score/score_document.h"

namespace notavera {

// Elements of one staff, in staff order; `staffOffset` counts staves down from the first staff of the set.
struct StaffRun {
    int staffOffset = 0;
    std::vector<ElementRecord> elements;
    friend bool operator==(const StaffRun&, const StaffRun&) = default;
};
using ElementRuns = std::vector<StaffRun>;

// Puts copies of the runs on the current page, the first run on the current staff and each other run on the
// staff at its offset below it (a run without such a staff is left out). The leftmost element of the set lands
// at x and every other keeps its distance from it; the music that stood at or after x moves right past the
// inserted stretch and one element's space, so that nothing overlaps. Returns where that music now begins: the x
// just past the stretch; x itself when nothing was inserted.
int InsertRunsAt(ScoreDocument& doc, const ElementRuns& runs, int x);

}  // namespace notavera
