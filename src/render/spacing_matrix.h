// The spacing matrix: one entry per element of the staves being respaced, in the order the respacing walks them
// (by old x, signs before notes, simultaneous notes of different staves side by side).
#pragma once

#include <span>
#include <vector>

namespace notavera {

struct StaffRecord;

struct SpacingEntry {
    int staff = 0;  // index into the staves being spaced
    int index = 0;  // the element's index on its staff
    int oldX = 0;   // its x before the respacing
    int sortX = 0;  // old x, or the smallest old x of the simultaneous notes it is tied to
};

// The matrix of `staves`, sorted. Notes and rests of different staves that start at the same time and whose old
// x lie within `tolerance` of each other are tied to one place in the order. The elements of each staff keep
// their own order in the matrix, whatever their kinds.
std::vector<SpacingEntry> BuildSpacingMatrix(std::span<StaffRecord* const> staves, int tolerance);

}  // namespace notavera
