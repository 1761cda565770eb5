// The grid that imported MIDI times are rounded to: 45 note values built on a grid unit (a whole note divided by
// the rounding), five in each of nine binary sizes — plain, triplet, dotted, quintuplet and double-dotted.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace notavera {

class ImportGrid {
public:
    static constexpr int groups = 9;
    static constexpr int size = groups * 5;

    // `division`: ticks per quarter note; `rounding`: 32, 64, 128 or 256.
    ImportGrid(unsigned division, unsigned rounding);

    // The integer part of entry j; beyond the table, the last entry.
    std::int64_t at(int j) const;
    double unit() const { return unit_; }
    std::int64_t wholeNote() const { return whole_; }

    // A time in ticks rounded to the grid. Times below three ticks are none; below two grid units a time
    // becomes one or two units; whole notes stay whole; plain values are taken off a time that no entry matches
    // until the rest matches one, which takes the nearer of its two neighbours (the shorter on a tie).
    std::int64_t quantise(std::int64_t d) const;

    // An onset in ticks moved to the nearest place of the grid: a multiple of the grid unit, or of a triplet of
    // it (the unit's multiple on a tie).
    std::int64_t place(std::int64_t t) const;

    // How a length of the grid is written: plain values taken off (by their group, longest first), then one entry
    // of the grid. The entry is −1 when the rest is below a grid unit.
    struct Decomposition {
        std::vector<int> plainGroups;
        int entry = -1;
    };
    Decomposition decompose(std::int64_t d) const;

private:
    // The plain value that starts entry j's group; for the first entry of a group, the previous group's.
    static int plainGroupOf(int j) { return (j % 5 == 0 ? j - 5 : j - j % 5) / 5; }
    std::int64_t groupPlain(int j) const { return at(5 * plainGroupOf(j)); }
    std::array<float, size> entries_{};
    double unit_ = 0;
    std::int64_t whole_ = 0;
};

}  // namespace notavera
