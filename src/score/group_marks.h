// The marks that bound a rhythmic group (tuplet) in word0 bits 12–13: the first element of the group carries one,
// the last the other, a group of one element both. The tuplet drawing pairs them up.
#pragma once

#include <cstdint>

#include "score/records.h"

namespace notavera {

inline constexpr unsigned groupFirstMark = 1;
inline constexpr unsigned groupLastMark = 2;
// The first mark as a word0 bit, for an element not made yet.
inline constexpr std::uint32_t groupFirstWord0Bit = groupFirstMark << 12;

inline void MarkGroupFirst(ElementRecord& e) { e.w0().setGroupMark(e.w0().groupMark() | groupFirstMark); }
inline void MarkGroupLast(ElementRecord& e) { e.w0().setGroupMark(e.w0().groupMark() | groupLastMark); }

}  // namespace notavera
