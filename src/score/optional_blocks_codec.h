// The optional blocks stored after the pages (pagination, page header and footer, the two mask
// pages, the file notes), in the order of their bits in blockFlags.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "score/score_document.h"

namespace notavera {

inline constexpr std::size_t maxNotesLength = 2048;  // stored length: the text, at most 2047 bytes, and its NUL

struct DecodedBlocks {
    OptionalBlocks blocks;
    int fixedMaskCutStaff = 0;  // staff (from 1) of a mask page whose element list ended early
    int variableMaskCutStaff = 0;
};

// Decodes the blocks that `flags` announce from the bytes that follow the data. Empty when a block is
// missing, a mask page cannot be read or the notes length is impossible.
std::optional<DecodedBlocks> DecodeOptionalBlocks(std::span<const std::uint8_t> bytes, std::uint8_t flags);

// The flags with the block bits set from the blocks present; the bits that carry no block are kept.
std::uint8_t FlagsForBlocks(const OptionalBlocks& blocks, std::uint8_t flags);

// Appends the stored form of the blocks present, in flag order (mask pages with their counts recounted).
void AppendOptionalBlocks(const OptionalBlocks& blocks, std::vector<std::uint8_t>& out);

}  // namespace notavera
