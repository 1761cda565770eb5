// Bar lines brought back onto their staff.
#include "edit/bar_recall.h"

#include "edit/element_range.h"

namespace notavera {

int RecallBars(StaffRecord& staff, int first, int last) {
    int changed = 0;
    for (ElementRecord& e : ElementRange(staff, first, last)) {
        if (!e.isSignOfType(SignType::Bar) || (e.w0().crossStaff() == 0 && e.shift == 0)) continue;
        e.w0().setCrossStaff(0);
        e.shift = 0;
        ++changed;
    }
    return changed;
}

}  // namespace notavera
