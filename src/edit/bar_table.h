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

// True for a bar that counts in the table: a bar-line sign, not hidden, with code 0 or a bar character above 64
// other than 12. Braces (codes 1–64) and square brackets (negative codes) join staves and are no bars.
bool CountsAsBar(const ElementRecord& e);

// The bar positions of the group that starts at staff `first` of the page: that staff and the following ones up
// to the one whose position in its group equals the group's size. Sorted by x; a position shared by several
// staves appears once.
std::vector<BarEntry> BuildBarTable(const PageRecord& page, int first);

}  // namespace notavera
