// Collecting, sorting and merging the bar positions of a staff group.
#include "edit/bar_table.h"

#include <algorithm>

namespace notavera {

namespace {

constexpr int lastJoiningCode = 64;
constexpr int excludedBarCode = 12;

// The last staff of the group that starts at `first`: the first staff from there that closes its group.
int LastOfGroup(const PageRecord& page, int first) {
    const int count = static_cast<int>(page.staves.size());
    for (int s = first; s < count; ++s) {
        const auto v = page.staves[static_cast<std::size_t>(s)].voice();
        if (v.positionInGroup() >= v.groupSize()) return s;
    }
    return count - 1;
}

}  // namespace

bool CountsAsBar(const ElementRecord& e) {
    if (!e.isSignOfType(SignType::Bar) || e.w0().hidden()) return false;
    const int code = e.signWord().signedCode();
    return code == 0 || (code > lastJoiningCode && code != excludedBarCode);
}

std::vector<BarEntry> BuildBarTable(const PageRecord& page, int first) {
    std::vector<BarEntry> table;
    if (first < 0 || first >= static_cast<int>(page.staves.size())) return table;
    const int last = LastOfGroup(page, first);
    for (int s = first; s <= last; ++s) {
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(s)].elements) {
            if (!CountsAsBar(e)) continue;
            const auto w = e.signWord();
            table.push_back({e.x, static_cast<std::uint8_t>(w.code()), static_cast<std::uint8_t>(w.high7())});
        }
    }
    std::stable_sort(table.begin(), table.end(), [](const BarEntry& a, const BarEntry& b) { return a.x < b.x; });
    const auto sameX = [](const BarEntry& a, const BarEntry& b) { return a.x == b.x; };
    table.erase(std::unique(table.begin(), table.end(), sameX), table.end());
    return table;
}

}  // namespace notavera
