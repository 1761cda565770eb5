// Stretches of elements removed from a staff.
#include "edit/region_deletion.h"

#include <algorithm>

namespace notavera {

bool EraseElements(StaffRecord& staff, int first, int last) {
    const int count = static_cast<int>(staff.elements.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last) return false;
    staff.elements.erase(staff.elements.begin() + first, staff.elements.begin() + last + 1);
    return true;
}

bool EraseBetween(StaffRecord& staff, int from, int to) {
    const auto& els = staff.elements;
    const auto first = std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x >= from; });
    const auto end = std::find_if(first, els.end(), [&](const ElementRecord& e) { return e.x > to; });
    return EraseElements(staff, static_cast<int>(first - els.begin()), static_cast<int>(end - els.begin()) - 1);
}

}  // namespace notavera
