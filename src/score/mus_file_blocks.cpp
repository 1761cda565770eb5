// Header preparation and the writing of the blocks around the pages.
#include "score/mus_file_blocks.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/optional_blocks_codec.h"

namespace notavera {

std::array<std::uint8_t, pageTableBytes> EncodePageTable(const PageTable& table) {
    std::array<std::uint8_t, pageTableBytes> bytes{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        le::putU32(bytes, i * 8, table[i].length);
        le::putU32(bytes, i * 8 + 4, table[i].offset);
    }
    return bytes;
}

void PrepareHeaderForSave(ScoreDocument& doc) {
    FileHeader& h = doc.header;
    h.setVersion(2, 2);
    h.setTitle(doc.title());
    h.setPageCount(static_cast<std::uint16_t>(std::clamp(doc.pageCount, 0, maxPages)));
    h.blockFlags() = FlagsForBlocks(doc.optional, h.blockFlags());
    const long tenths = std::lround(doc.settings.averageBeamHeight * 10);
    h.setAverageBeamHeightTenths(static_cast<std::int8_t>(std::clamp(tenths, -128L, 127L)));
}

bool WriteDocumentBlocks(BinaryFile& file, const FileHeader& header, const FontBlock& fonts, const PageTable& table,
                         const OptionalBlocks& blocks) {
    std::vector<std::uint8_t> optional;
    AppendOptionalBlocks(blocks, optional);
    const auto tableBytes = EncodePageTable(table);
    return file.seek(0) && file.write(header.bytes) && file.seek(fontBlockOffset) && file.write(fonts.bytes) &&
           file.seek(pageTableOffset) && file.write(tableBytes) &&
           file.seek(std::uint64_t{header.endOfData()} + sizeof pageSeparator) && file.write(optional);
}

}  // namespace notavera
