// Test support: a Windows metafile walked record by record, the way a reader does, for tests that look inside
// the files the metafile writer makes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace notavera::test {

struct WmfRecord {
    std::uint16_t function = 0;
    std::vector<std::uint16_t> params;
    std::int16_t param(std::size_t i) const { return static_cast<std::int16_t>(params.at(i)); }
};

struct ParsedMetafile {
    std::vector<std::uint16_t> placeable;  // the eleven words of the placeable header
    std::vector<std::uint16_t> header;     // the nine words of the metafile header
    std::vector<WmfRecord> records;        // up to and including the end record
    std::size_t trailingBytes = 0;         // bytes after the end record
};

// Fails the calling test on a file too short for its headers or a record that overruns the file.
ParsedMetafile ParseMetafile(const std::vector<std::uint8_t>& bytes);

std::vector<const WmfRecord*> FindRecords(const ParsedMetafile& m, std::uint16_t function);

// The bytes a TextOut record writes.
std::string TextOutBytes(const WmfRecord& textOut);

}  // namespace notavera::test
