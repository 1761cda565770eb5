// The document's table of 32 named fonts (the music font first); texts name a font by its index here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace notavera {

class FontBlock {
public:
    static constexpr std::size_t entryCount = 32;
    static constexpr std::size_t entrySize = 33;
    static constexpr std::size_t size = entryCount * entrySize;  // 1056
    static constexpr std::size_t nameCapacity = 32;

    std::array<std::uint8_t, size> bytes{};

    // Entry 0 "Orvelin 4.2" (character set 2), then "Times New Roman", "Arial", "Chiffrage" (set 0).
    static FontBlock makeDefault();

    std::string faceName(int index) const;
    std::uint8_t charSet(int index) const { return bytes[index * entrySize]; }
    void setEntry(int index, const std::string& face, std::uint8_t charSet);
    bool isFree(int index) const { return bytes[index * entrySize + 1] == 0; }

    // Looks the name up; when absent takes the first free entry. Empty when the table is full
    // (the caller then shows message 69 and uses index 0).
    std::optional<int> addFont(const std::string& face, std::uint8_t charSet);
};

}  // namespace notavera
