// Test support: walking the records of a metafile.
#include "support/wmf_records.h"

#include <gtest/gtest.h>

#include "platform/wmf_canvas.h"
#include "score/little_endian.h"

namespace notavera::test {

ParsedMetafile ParseMetafile(const std::vector<std::uint8_t>& bytes) {
    ParsedMetafile m;
    EXPECT_GE(bytes.size(), wmf::kPlaceableBytes + 2 * wmf::kHeaderWords);
    EXPECT_EQ(bytes.size() % 2, 0u);
    if (bytes.size() < wmf::kPlaceableBytes + 2 * wmf::kHeaderWords) return m;
    for (std::size_t i = 0; i < 11; ++i) m.placeable.push_back(le::u16(bytes, 2 * i));
    for (std::size_t i = 0; i < wmf::kHeaderWords; ++i) m.header.push_back(le::u16(bytes, 22 + 2 * i));
    std::size_t at = wmf::kPlaceableBytes + 2 * wmf::kHeaderWords;
    while (at + 6 <= bytes.size()) {
        const std::uint32_t words = le::u32(bytes, at);
        EXPECT_GE(words, 3u);
        if (words < 3 || at + 2 * std::size_t{words} > bytes.size()) {
            ADD_FAILURE() << "record at byte " << at << " overruns the file";
            break;
        }
        WmfRecord r;
        r.function = le::u16(bytes, at + 4);
        for (std::uint32_t i = 3; i < words; ++i) r.params.push_back(le::u16(bytes, at + 2 * i));
        m.records.push_back(r);
        at += 2 * std::size_t{words};
        if (r.function == wmf::Eof) break;
    }
    m.trailingBytes = bytes.size() - at;
    return m;
}

std::vector<const WmfRecord*> FindRecords(const ParsedMetafile& m, std::uint16_t function) {
    std::vector<const WmfRecord*> found;
    for (const WmfRecord& r : m.records) {
        if (r.function == function) found.push_back(&r);
    }
    return found;
}

std::string TextOutBytes(const WmfRecord& textOut) {
    std::string s;
    const std::size_t n = textOut.params.at(0);
    for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(textOut.params.at(1 + i / 2) >> (8 * (i % 2))));
    return s;
}

}  // namespace notavera::test
