// Replacing the clefs of a stretch of a staff.
#include "edit/clef_replacement.h"

#include "edit/element_range.h"

namespace notavera {

int ReplaceClefs(StaffRecord& staff, int first, int last, unsigned clef) {
    int changed = 0;
    for (ElementRecord& e : ElementRange(staff, first, last)) {
        if (!e.isSignOfType(SignType::Clef) || e.signWord().code() == clef) continue;
        e.signWord().setCode(clef);
        ++changed;
    }
    return changed;
}

}  // namespace notavera
