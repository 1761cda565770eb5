// The elements first..last of a staff that a range command visits, cut to the staff.
#pragma once

#include <algorithm>
#include <span>

#include "score/records.h"

namespace notavera {

inline std::span<ElementRecord> ElementRange(StaffRecord& staff, int first, int last) {
    const int size = static_cast<int>(staff.elements.size());
    const int from = std::clamp(first, 0, size);
    const int to = std::clamp(last + 1, from, size);
    return std::span(staff.elements).subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

}  // namespace notavera
