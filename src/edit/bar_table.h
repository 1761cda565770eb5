// The table of bar positions of a staff group (a line of the page): where the bars of its staves stand, each
// position once, in order of x.
#pragma once

#include <cstdint>
#include <vector>

#include "score/records.h"

namespace notavera {

struct BarEntry {
    std::int32_t x = 0;
    std::uint8_t code = 0;   // the bar's code, low 8 bits
    std::uint8_t extra = 0;  // the bar's SignWord bits 25–31
};

// The positions of the bars that divide bars (DividesBars) in the group that starts at staff `first` of the
// page: that staff and the following ones up to the one whose position in its group equals the group's size.
// Sorted by x; a position shared by several staves appears once. With `busiest`, it receives the index of the
// staff that gave the most bars (the first of them on a tie).
std::vector<BarEntry> BuildBarTable(const PageRecord& page, int first, int* busiest = nullptr);

}  // namespace notavera
