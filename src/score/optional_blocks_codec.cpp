// Decoding and encoding of the optional blocks that follow the pages.
#include "score/optional_blocks_codec.h"

#include <algorithm>

#include "score/byte_cursor.h"
#include "score/mus_page_codec.h"

namespace notavera {

namespace {

template <std::size_t N>
bool readFixed(ByteCursor& in, std::optional<std::array<std::uint8_t, N>>& block) {
    std::span<const std::uint8_t> b;
    if (!in.take(N, b)) return false;
    block.emplace();
    std::copy(b.begin(), b.end(), block->begin());
    return true;
}

// A mask page is stored like any page, with the number 0.
bool readMask(ByteCursor& in, std::span<const std::uint8_t> bytes, std::unique_ptr<PageRecord>& mask, int& cutStaff) {
    auto decoded = DecodePage(bytes.subspan(in.position()), 0);
    if (!decoded) return false;
    std::span<const std::uint8_t> skipped;
    in.take(decoded->used, skipped);
    cutStaff = decoded->cutStaff;
    mask = std::make_unique<PageRecord>(std::move(decoded->page));
    return true;
}

bool readNotes(ByteCursor& in, std::optional<std::string>& notes) {
    std::uint16_t length = 0;
    std::span<const std::uint8_t> b;
    if (!in.u16(length) || length == 0 || length > maxNotesLength || !in.take(length, b)) return false;
    const auto end = std::find(b.begin(), b.end(), std::uint8_t{0});
    notes.emplace(b.begin(), end);
    return true;
}

template <std::size_t N>
void appendFixed(const std::optional<std::array<std::uint8_t, N>>& block, std::vector<std::uint8_t>& out) {
    if (block) out.insert(out.end(), block->begin(), block->end());
}

// A mask page is always stored as page 0, whatever number it was given in memory.
void appendMask(const std::unique_ptr<PageRecord>& mask, std::vector<std::uint8_t>& out) {
    if (!mask) return;
    const std::size_t start = out.size();
    AppendEncodedPage(*mask, out);
    le::putU32(out, start + 7, 0);
}

}  // namespace

std::optional<DecodedBlocks> DecodeOptionalBlocks(std::span<const std::uint8_t> bytes, std::uint8_t flags) {
    DecodedBlocks d;
    OptionalBlocks& o = d.blocks;
    ByteCursor in(bytes);
    if ((flags & block_flag::pagination) && !readFixed(in, o.pagination)) return std::nullopt;
    if ((flags & block_flag::pageHeader) && !readFixed(in, o.pageHeader)) return std::nullopt;
    if ((flags & block_flag::pageFooter) && !readFixed(in, o.pageFooter)) return std::nullopt;
    if ((flags & block_flag::fixedMask) && !readMask(in, bytes, o.fixedMask, d.fixedMaskCutStaff)) return std::nullopt;
    if ((flags & block_flag::variableMask) && !readMask(in, bytes, o.variableMask, d.variableMaskCutStaff))
        return std::nullopt;
    if ((flags & block_flag::notes) && !readNotes(in, o.notes)) return std::nullopt;
    return d;
}

std::uint8_t FlagsForBlocks(const OptionalBlocks& blocks, std::uint8_t flags) {
    const auto set = [&flags](std::uint8_t bit, bool present) {
        flags = present ? static_cast<std::uint8_t>(flags | bit) : static_cast<std::uint8_t>(flags & ~bit);
    };
    set(block_flag::pagination, blocks.pagination.has_value());
    set(block_flag::pageHeader, blocks.pageHeader.has_value());
    set(block_flag::pageFooter, blocks.pageFooter.has_value());
    set(block_flag::fixedMask, blocks.fixedMask != nullptr);
    set(block_flag::variableMask, blocks.variableMask != nullptr);
    set(block_flag::notes, blocks.notes.has_value());
    return flags;
}

void AppendOptionalBlocks(const OptionalBlocks& blocks, std::vector<std::uint8_t>& out) {
    appendFixed(blocks.pagination, out);
    appendFixed(blocks.pageHeader, out);
    appendFixed(blocks.pageFooter, out);
    appendMask(blocks.fixedMask, out);
    appendMask(blocks.variableMask, out);
    if (blocks.notes) {
        const std::size_t n = std::min(blocks.notes->size(), maxNotesLength - 1);
        const auto length = static_cast<std::uint16_t>(n + 1);
        out.push_back(static_cast<std::uint8_t>(length & 0xFF));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.insert(out.end(), blocks.notes->begin(), blocks.notes->begin() + static_cast<std::ptrdiff_t>(n));
        out.push_back(0);
    }
}

}  // namespace notavera
