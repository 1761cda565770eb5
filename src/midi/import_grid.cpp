// Rounding imported times to the grid, and finding the grid values a length is written with.
#include "midi/import_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace notavera {

namespace {

// Within each group: b, 4b/3 (three in the time of two), 3b/2 (dotted), 8b/5 (five in the time of four),
// 7b/4 (double-dotted).
constexpr float groupFactors[5] = {1.0f, 4.0f / 3.0f, 1.5f, 1.6f, 1.75f};

}  // namespace

ImportGrid::ImportGrid(unsigned division, unsigned rounding) {
    whole_ = 4 * std::int64_t{division};
    unit_ = rounding > 0 ? static_cast<double>(whole_) / rounding : 0;
    for (int k = 0; k < groups; ++k) {
        const double b = unit_ * static_cast<double>(1 << k);
        for (int p = 0; p < 5; ++p) entries_[static_cast<std::size_t>(5 * k + p)] = static_cast<float>(b * groupFactors[p]);
    }
}

std::int64_t ImportGrid::at(int j) const {
    return static_cast<std::int64_t>(entries_[static_cast<std::size_t>(std::clamp(j, 0, size - 1))]);
}

std::int64_t ImportGrid::quantise(std::int64_t d) const {
    if (d < 3) return 0;
    const std::int64_t u = at(0), twoUnits = at(5);
    if (d < twoUnits) return static_cast<double>(d) + unit_ / 2 >= static_cast<double>(twoUnits) ? twoUnits : u;
    std::int64_t kept = 0;
    if (whole_ > 0 && d > whole_) {
        kept = d / whole_ * whole_;
        d -= kept;
        // What is left of whole notes is rounded as a short time would be, or dropped when below half a unit.
        if (d < twoUnits) {
            if (static_cast<double>(d) + unit_ / 2 >= static_cast<double>(twoUnits)) return kept + twoUnits;
            return kept + (2 * d >= u ? u : 0);
        }
    }
    for (;;) {
        if (d <= at(0)) return kept + at(0);
        int j = 0;
        while (j < size && d > at(j) + 1) ++j;
        if (j >= size) return kept + d;  // longer than any entry: left as it is
        if (j < 6 || d >= at(j) - 1) {
            // The nearer of the entry and the one below it; a time halfway takes the shorter.
            const std::int64_t chosen = at(j) - d >= d - at(j - 1) ? at(j - 1) : at(j);
            return kept + chosen;
        }
        const std::int64_t plain = groupPlain(j);
        d -= plain;
        kept += plain;
    }
}

std::int64_t ImportGrid::place(std::int64_t t) const {
    if (unit_ <= 0) return t;
    const auto nearest = [t](double step) {
        return static_cast<std::int64_t>(std::llround(std::round(static_cast<double>(t) / step) * step));
    };
    const std::int64_t plain = nearest(unit_), triplet = nearest(unit_ * 4 / 3);
    return std::llabs(triplet - t) < std::llabs(plain - t) ? triplet : plain;
}

ImportGrid::Decomposition ImportGrid::decompose(std::int64_t d) const {
    Decomposition result;
    if (d < at(0)) return result;
    const auto find = [this](std::int64_t t) {
        int j = 0;
        while (j < size - 1 && t > at(j)) ++j;
        if (j > 0 && t == at(j - 1) + 1) --j;
        return j;
    };
    int j = find(d);
    for (int taken = 0; taken < 3 && j >= 6 && d < at(j) - 1; ++taken) {
        result.plainGroups.push_back(plainGroupOf(j));
        d -= groupPlain(j);
        j = find(d);
    }
    result.entry = d >= at(0) - 1 ? j : -1;
    return result;
}

}  // namespace notavera
