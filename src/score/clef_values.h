// What a staff's clefs mean for the heights stored on it: the clef value of each clef number, the clef in force at
// an x of a staff, and the height a new rest is stored at under a clef.
#pragma once

#include <utility>
#include <vector>

#include "score/records.h"

namespace notavera {

// The clef value of clef numbers 1–12 (G line 2 … percussion); 0 for numbers outside that range.
int ClefValueOfClef(int clef);

// The clef value in force at x on the staff: that of its last clef (hidden or not) at or before x, 0 before any.
int ClefValueOnStaff(const StaffRecord& staff, int x);

// The same answer for many places of one staff: its clefs are gathered once, so that asking for every note of a
// long staff does not read the whole staff each time.
class StaffClefs {
public:
    explicit StaffClefs(const StaffRecord& staff);
    int valueAt(int x) const;

private:
    std::vector<std::pair<int, int>> clefs_;  // where each clef stands (shift included) and its value, in staff order
};

// A rest's stored height, as a step (1–7, C to B) and an octave field.
struct RestPitch {
    unsigned step = 0;
    unsigned octave = 0;
};

// The height of a plain rest under a clef value: the second line from the bottom of the five-line staff, since a
// rest is drawn from there (its glyph centred on the middle line, the half rest standing on it, the whole rest
// hanging from the line above).
RestPitch RestPitchUnderClef(int clefValue);

}  // namespace notavera
