// The blocks of a document file around its pages: the header as a save stores it, and the writing
// of header, font table, page table and optional blocks in their places.
#pragma once

#include <array>
#include <cstdint>

#include "score/score_document.h"

namespace notavera {

inline constexpr std::size_t pageTableBytes = std::tuple_size_v<PageTable> * 8;

std::array<std::uint8_t, pageTableBytes> EncodePageTable(const PageTable& table);

// Puts into the document's header what a save stores: version 2.2, the title, the page count,
// the flags of the optional blocks present and the average beam height. The cursor fields and
// end-of-data are set by the writers; every other byte stays as loaded.
void PrepareHeaderForSave(ScoreDocument& doc);

// Writes the header at 0, the font table at 1327, the page table at 2383 and the optional blocks
// at the header's end-of-data + 7.
bool WriteDocumentBlocks(BinaryFile& file, const FileHeader& header, const FontBlock& fonts, const PageTable& table,
                         const OptionalBlocks& blocks);

}  // namespace notavera
