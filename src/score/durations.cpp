// Duration arithmetic shared by note entry and the MIDI and GUIDO imports.
#include "score/durations.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace notavera {

int NoteDuration(unsigned code, unsigned dots) {
    if (code > shortestDurationCode) return 0;
    int value = 1024 >> code;
    int total = value;
    for (unsigned d = 0; d < std::min(dots, 3u); ++d) {
        value /= 2;
        total += value;
    }
    return total;
}

std::vector<unsigned> SplitDuration(int d256) {
    std::vector<unsigned> codes;
    unsigned code = longestDurationCode;
    while (d256 > 0) {
        // Codes only ever grow: once a value no longer fits, no later remainder can take it.
        while ((1024 >> code) > d256) ++code;
        codes.push_back(code);
        d256 -= 1024 >> code;
    }
    return codes;
}

int DurationAdvance(int d256, int stepUnit) {
    const std::int64_t advance = static_cast<std::int64_t>(d256) * stepUnit / 4;
    return static_cast<int>(std::clamp<std::int64_t>(advance, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace notavera
