// The document font table.
#include "score/font_block.h"

#include <algorithm>
#include <cstring>

namespace notavera {

FontBlock FontBlock::makeDefault() {
    FontBlock f;
    f.setEntry(0, "Orvelin 4.2", 2);
    f.setEntry(1, "Times New Roman", 0);
    f.setEntry(2, "Arial", 0);
    f.setEntry(3, "Chiffrage", 0);
    return f;
}

std::string FontBlock::faceName(int index) const {
    const auto* begin = reinterpret_cast<const char*>(bytes.data() + index * entrySize + 1);
    return std::string(begin, strnlen(begin, nameCapacity));
}

void FontBlock::setEntry(int index, const std::string& face, std::uint8_t charSet) {
    auto* entry = bytes.data() + index * entrySize;
    std::fill_n(entry, entrySize, 0);
    entry[0] = charSet;
    std::copy_n(face.begin(), std::min(face.size(), nameCapacity - 1), entry + 1);
}

std::optional<int> FontBlock::addFont(const std::string& face, std::uint8_t charSet) {
    const std::string name = face.substr(0, nameCapacity - 1);
    for (int i = 0; i < static_cast<int>(entryCount); ++i)
        if (!isFree(i) && faceName(i) == name) return i;
    for (int i = 0; i < static_cast<int>(entryCount); ++i) {
        if (isFree(i)) {
            setEntry(i, name, charSet);
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace notavera
