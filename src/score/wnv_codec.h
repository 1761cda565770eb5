// The ".wnv" interchange form of a whole score: every bit field of the header, pages, staves and elements
// written as its own little-endian integer, so that it does not depend on how the records are packed.
// Decoding trusts no count or length beyond the bytes it was given.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "score/score_document.h"

namespace notavera {

// A score as the interchange file carries it. The header is kept in its ".mus" form: the fields the
// interchange widens (current page and staff, the block flags) are narrowed back on decoding.
struct InterchangeScore {
    FileHeader header;
    FontBlock fonts;
    std::vector<PageRecord> pages;
    OptionalBlocks blocks;
};

// Where decoding stopped: the signature, the header or the font table (message 1), or a page or the blocks
// after the pages (message 9).
enum class InterchangeFault { None, Head, Page };

struct DecodedInterchange {
    InterchangeFault fault = InterchangeFault::None;
    InterchangeScore score;
};

// The signature, the header (with the current place and the block flags widened) and the font table.
// `header`'s page count says how many pages follow.
void AppendInterchangeHead(const FileHeader& header, const FontBlock& fonts, std::vector<std::uint8_t>& out);
// One page: the separator, the page, then each staff followed by its elements. Counts come from the lists.
void AppendInterchangePage(const PageRecord& page, std::vector<std::uint8_t>& out);
// The closing separator and the optional blocks that `flags` names and `blocks` holds.
void AppendInterchangeTail(const OptionalBlocks& blocks, std::uint8_t flags, std::vector<std::uint8_t>& out);

// Reads a whole interchange file. The pages keep the numbers they carry; each staff's index is its position.
DecodedInterchange DecodeInterchange(std::span<const std::uint8_t> bytes);

}  // namespace notavera
