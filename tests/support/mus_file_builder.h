// Test support: score pages with varied content, ".mus" files laid out byte by byte (so that tests
// can damage any field).
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "score/file_header.h"
#include "score/font_block.h"
#include "score/records.h"
#include "support/test_files.h"

namespace notavera::test {

// A page of `staves` staves of `elements` elements each: notes and rests, a clef with its
// parameter and a text sign with a blob; every record also carries bits no code interprets.
PageRecord MakePage(int number, int staves, int elements);

// The bytes of a document file, laid out like a freshly compacted one: pages one after the other
// from 4423 in page order, the separator at end-of-data, then `trailer` (the optional blocks).
struct MusFileBuilder {
    MusFileBuilder();  // version 2.2 and the settings of a new document; current page 0 (the last)

    FileHeader header;
    FontBlock fonts = FontBlock::makeDefault();
    std::vector<std::vector<std::uint8_t>> pages;  // stored page records, separator included
    std::vector<std::uint8_t> trailer;

    MusFileBuilder& addPage(const PageRecord& page);
    std::vector<std::uint8_t> build() const;
};

// Offsets in a built file.
inline constexpr std::size_t pageTableEntryAt(int page) { return 2383 + 8 * static_cast<std::size_t>(page - 1); }

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t v);
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v);
std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at);

}  // namespace notavera::test
