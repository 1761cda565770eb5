// Collecting, sorting and merging the bar positions of a staff group.
#include "edit/bar_table.h"

#include <algorithm>

#include "score/accidental_context.h"

namespace notavera {

namespace {

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

std::vector<BarEntry> BuildBarTable(const PageRecord& page, int first, int* busiest) {
    std::vector<BarEntry> table;
    if (first < 0 || first >= static_cast<int>(page.staves.size())) return table;
    const int last = LastOfGroup(page, first);
    std::size_t most = 0;
    for (int s = first; s <= last; ++s) {
        const std::size_t before = table.size();
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(s)].elements) {
            if (!DividesBars(e)) continue;
            const auto w = e.signWord();
            table.push_back({e.x, static_cast<std::uint8_t>(w.code()), static_cast<std::uint8_t>(w.high7())});
        }
        // The first staff with the most bars wins: the one whose bars the others follow.
        if (busiest && (s == first || table.size() - before > most)) {
            most = table.size() - before;
            *busiest = s;
        }
    }
    std::stable_sort(table.begin(), table.end(), [](const BarEntry& a, const BarEntry& b) { return a.x < b.x; });
    const auto sameX = [](const BarEntry& a, const BarEntry& b) { return a.x == b.x; };
    table.erase(std::unique(table.begin(), table.end(), sameX), table.end());
    return table;
}

}  // namespace notavera
