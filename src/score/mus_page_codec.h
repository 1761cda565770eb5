// The stored form of one page record: the separator, the 20 page bytes, then each staff's 16 bytes
// followed by its elements. Decoding trusts no count or length beyond the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "score/records.h"

namespace notavera {

// Bytes of a page record before its first staff: the separator and the 20 page bytes.
inline constexpr std::size_t pageRecordHeadSize = 27;

struct DecodedPage {
    PageRecord page;
    int cutStaff = 0;      // staff (from 1) whose element list ended early and was left empty; 0 when whole
    std::size_t used = 0;  // bytes consumed
};

// Decodes a stored page that must carry `number`. Empty when its first 27 bytes are missing, it
// carries another number or it has more than 127 staves: such a page cannot be used at all.
// A staff whose elements run past the bytes, or whose blob length is impossible, is left empty;
// the staves after it are kept as empty staves with only their index set.
std::optional<DecodedPage> DecodePage(std::span<const std::uint8_t> bytes, std::uint32_t number);

// Appends the stored form of a page (separator included) to `out`. The staff count of the layout
// word and each element count are taken from the lists, so they always match what follows.
void AppendEncodedPage(const PageRecord& page, std::vector<std::uint8_t>& out);

}  // namespace notavera
