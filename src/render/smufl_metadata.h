// The metadata a SMuFL font ships beside it (metadata.json): glyph boxes, advances, anchors and engraving
// defaults, keyed by glyph name, in staff spaces. Read once per font and checked entry by entry.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace simdjson {
struct padded_string;
}

namespace notavera {

// A point in staff spaces from the glyph's origin, y up.
struct StaffSpacePoint {
    double x = 0;
    double y = 0;
};

// The glyph's ink box in staff spaces: south-west and north-east corners.
struct GlyphBox {
    StaffSpacePoint sw;
    StaffSpacePoint ne;
    double width() const { return ne.x - sw.x; }
    double height() const { return ne.y - sw.y; }
};

class SmuflMetadata {
public:
    // Entries that are not well formed (a box without four finite numbers, a non-numeric default) are left out;
    // a text that is not a JSON object, or has no font name, is refused.
    static std::optional<SmuflMetadata> Parse(std::string_view json);
    static std::optional<SmuflMetadata> Load(const std::string& path);

    const std::string& fontName() const { return fontName_; }
    bool hasGlyph(std::string_view name) const;
    std::optional<GlyphBox> box(std::string_view name) const;
    std::optional<double> advance(std::string_view name) const;  // not every font lists advances
    std::optional<StaffSpacePoint> anchor(std::string_view glyph, std::string_view anchorName) const;
    std::optional<double> engravingDefault(std::string_view name) const;

private:
    static std::optional<SmuflMetadata> Read(const simdjson::padded_string& json);

    std::string fontName_;
    std::map<std::string, GlyphBox, std::less<>> boxes_;
    std::map<std::string, double, std::less<>> advances_;
    std::map<std::string, std::map<std::string, StaffSpacePoint, std::less<>>, std::less<>> anchors_;
    std::map<std::string, double, std::less<>> defaults_;
};

}  // namespace notavera
