// Stretches of elements removed from a staff.
#include "edit/region_deletion.h"

#include <algorithm>
#include <iterator>

namespace notavera {

std::vector<ElementRecord> EraseElements(StaffRecord& staff, int first, int last) {
    const int count = static_cast<int>(staff.elements.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last) return {};
    const auto from = staff.elements.begin() + first;
    const auto to = staff.elements.begin() + last + 1;
    std::vector<ElementRecord> removed(std::make_move_iterator(from), std::make_move_iterator(to));
    staff.elements.erase(from, to);
    return removed;
}

std::vector<ElementRecord> EraseBetween(StaffRecord& staff, int from, int to) {
    const auto& els = staff.elements;
    const auto first = std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x >= from; });
    const auto end = std::find_if(first, els.end(), [&](const ElementRecord& e) { return e.x > to; });
    return EraseElements(staff, static_cast<int>(first - els.begin()), static_cast<int>(end - els.begin()) - 1);
}

}  // namespace notavera
