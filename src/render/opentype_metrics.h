// The few figures of an OpenType or TrueType font file that layout needs without a font engine: units per em,
// the ascender and descender, and the advance width of each character.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace notavera {

class OpenTypeMetrics {
public:
    // Reads the head, hhea, hmtx and cmap tables. A file that is missing, truncated or inconsistent gives nullopt.
    static std::optional<OpenTypeMetrics> Parse(std::span<const std::uint8_t> bytes);
    static std::optional<OpenTypeMetrics> Load(const std::string& path);

    int unitsPerEm() const { return unitsPerEm_; }
    int ascender() const { return ascender_; }    // font units above the baseline (positive)
    int descender() const { return descender_; }  // font units below the baseline (positive)

    bool hasGlyph(char32_t codePoint) const { return glyphOf_.contains(codePoint); }
    // The advance of the character in font units; nullopt when the font has no glyph for it.
    std::optional<int> advance(char32_t codePoint) const;

private:
    int unitsPerEm_ = 0;
    int ascender_ = 0;
    int descender_ = 0;
    std::vector<std::uint16_t> advances_;  // by glyph index, the last one repeated as the format prescribes
    std::unordered_map<char32_t, std::uint16_t> glyphOf_;
};

}  // namespace notavera
