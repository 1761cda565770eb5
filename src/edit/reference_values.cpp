// Erasing the reference values of time signatures and clefs.
#include "edit/reference_values.h"

#include "edit/element_range.h"

namespace notavera {

int EraseReferenceValues(StaffRecord& staff, int first, int last) {
    int changed = 0;
    for (ElementRecord& e : ElementRange(staff, first, last)) {
        if (!e.isSignOfType(SignType::TimeSignature) && !e.isSignOfType(SignType::Clef)) continue;
        const auto sign = e.signWord();
        if (e.w1().smallField() == 0 && sign.pairA() == 0 && sign.pairB() == 0) continue;
        e.w1().setSmallField(0);
        sign.setPairA(0);
        sign.setPairB(0);
        ++changed;
    }
    return changed;
}

}  // namespace notavera
