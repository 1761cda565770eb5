// Bar lines, bars and bar starts of the systems of a page.
#include "midi/system_bars.h"

#include <algorithm>
#include <climits>

#include "score/accidental_context.h"

namespace notavera {

std::int32_t HeardX(const ElementRecord& e) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{e.x} + e.shift, INT32_MIN, INT32_MAX));
}

namespace {
constexpr unsigned wholeCode = 2;  // the codes before it are the breve and the longa
}  // namespace

bool IsUndottedWhole(const ElementRecord& e) {
    return e.noteWord().durationCode() == wholeCode && e.noteWord().dots() == 0;
}

bool IsWholeBarRest(const ElementRecord& e, int notesInItsBar) {
    return e.isRest() && notesInItsBar == 1 && e.noteWord().durationCode() <= wholeCode;
}

std::pair<int, int> SystemOfStaff(const PageRecord& page, int i) {
    const auto voice = page.staves[static_cast<std::size_t>(i)].voice();
    const int last = static_cast<int>(page.staves.size()) - 1;
    if (voice.positionInGroup() == 0) return {i, i};
    const int first = std::max(0, i - static_cast<int>(voice.positionInGroup()) + 1);
    return {first, std::clamp(first + static_cast<int>(voice.groupSize()) - 1, i, last)};
}

std::vector<int> SystemBarLines(const PageRecord& page, int index) {
    const auto [first, last] = SystemOfStaff(page, index);
    std::vector<int> bars;
    for (int s = first; s <= last; ++s)
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(s)].elements)
            if (DividesBars(e)) bars.push_back(e.x);
    std::sort(bars.begin(), bars.end());
    return bars;
}

std::size_t BarIndex(const std::vector<int>& bars, int x) {
    return static_cast<std::size_t>(std::upper_bound(bars.begin(), bars.end(), x) - bars.begin());
}

std::vector<int> NotesPerBar(const StaffRecord& staff, const std::vector<int>& bars) {
    std::vector<int> counts(bars.size() + 1, 0);
    for (const ElementRecord& e : staff.elements)
        if (!e.isSign()) ++counts[BarIndex(bars, e.x)];
    return counts;
}

std::vector<std::int32_t> SystemBarStarts(const PageRecord& page, int index, const std::vector<int>& bars) {
    const auto [first, last] = SystemOfStaff(page, index);
    std::vector<std::int32_t> starts(bars.size() + 1, INT32_MAX), rests(bars.size() + 1, INT32_MAX);
    for (int s = first; s <= last; ++s) {
        const std::vector<int> counts = NotesPerBar(page.staves[static_cast<std::size_t>(s)], bars);
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(s)].elements) {
            if (e.isSign()) continue;
            const std::size_t bar = BarIndex(bars, e.x);
            std::int32_t& start = IsWholeBarRest(e, counts[bar]) ? rests[bar] : starts[bar];
            start = std::min(start, HeardX(e));
        }
    }
    for (std::size_t bar = 0; bar < starts.size(); ++bar)
        if (starts[bar] == INT32_MAX) starts[bar] = rests[bar];
    return starts;
}

}  // namespace notavera
