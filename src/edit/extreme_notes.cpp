// Bringing extreme notes back towards the staff under octave lines.
#include "edit/extreme_notes.h"

#include "edit/element_range.h"
#include "score/clef_values.h"

namespace notavera {

namespace {

constexpr unsigned octaveUp = 1;    // 8va: sounds an octave above what is written
constexpr unsigned octaveDown = 3;  // 8va bassa
constexpr int topLine = 8;          // steps from the bottom line
constexpr int stepsToC4OnBottomLine = 4 * 7;  // under clef value 0 the bottom line is C4
constexpr int beyond = 2 * maxLedgerLines + 1;

// Diatonic steps above the bottom line of the staff.
int StaffPosition(const ElementRecord& e, int clefValue) {
    const int steps = static_cast<int>(e.w0().octave()) * 7 + static_cast<int>(e.noteWord().step()) - 1;
    return steps - stepsToC4OnBottomLine + clefValue;
}

}  // namespace

int MarkExtremeNotes(StaffRecord& staff, int first, int last) {
    int changed = 0;
    for (ElementRecord& e : ElementRange(staff, first, last)) {
        if (!e.isNote() || e.w1().octaveShift() != 0) continue;
        const int position = StaffPosition(e, ClefValueOnStaff(staff, e.x));
        const unsigned octave = e.w0().octave();
        if (position > topLine + beyond && octave > 0) {
            e.w0().setOctave(octave - 1);
            e.w1().setOctaveShift(octaveUp);
        } else if (position < -beyond && octave < 7) {
            e.w0().setOctave(octave + 1);
            e.w1().setOctaveShift(octaveDown);
        } else {
            continue;
        }
        ++changed;
    }
    return changed;
}

}  // namespace notavera
