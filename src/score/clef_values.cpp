// Clef values and the rest height they give.
#include "score/clef_values.h"

#include <algorithm>
#include <array>

namespace notavera {

int ClefValueOfClef(int clef) {
    constexpr std::array<int, 12> values{-2, -4, 10, 8, 0, 2, 4, 6, 5, 12, 8, 0};
    if (clef < 1 || clef > 12) return 0;
    return values[static_cast<std::size_t>(clef - 1)];
}

int ClefValueOnStaff(const StaffRecord& staff, int x) { return StaffClefs(staff).valueAt(x); }

StaffClefs::StaffClefs(const StaffRecord& staff) {
    for (const ElementRecord& e : staff.elements)
        if (e.isSignOfType(SignType::Clef))
            clefs_.emplace_back(e.x + e.shift, ClefValueOfClef(static_cast<int>(e.signWord().code())));
}

int StaffClefs::valueAt(int x) const {
    // The list is kept in x order, but shifted clefs may stand out of it: the rightmost clef at or before x wins.
    int bestX = 0;
    int value = 0;
    bool found = false;
    for (const auto& [at, clefValue] : clefs_) {
        if (at > x || (found && at < bestX)) continue;
        bestX = at;
        value = clefValue;
        found = true;
    }
    return value;
}

RestPitch RestPitchUnderClef(int clefValue) {
    // A height counted in diatonic steps from C of octave 0: the second line is 3 steps above C4 under clef value 0
    // and every unit of clef value lowers the pitch found on a line by one step.
    constexpr int stepsFromC0ToE4 = 4 * 7 + 2;
    const int steps = std::clamp(stepsFromC0ToE4 - clefValue, 0, 7 * 7 + 6);
    return {static_cast<unsigned>(steps % 7 + 1), static_cast<unsigned>(steps / 7)};
}

}  // namespace notavera
