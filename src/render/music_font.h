// The music font the score is drawn with: the system's codes resolved to glyphs of an installed SMuFL font
// (Bravura or Leland), their metrics in staff spaces, and the conversion of the system's font heights.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "render/music_font_table.h"
#include "render/opentype_metrics.h"
#include "render/smufl_metadata.h"

namespace notavera {

enum class SmuflFamily { Bravura, Leland };

// Leland when the face names it; Bravura for everything else, the stored default "Orvelin 4.2" included.
SmuflFamily FamilyForFace(std::string_view face);

// Where the fonts are installed: $NOTAVERA_FONT_DIR when set, else the folder chosen at build time. Each family
// has its own sub-folder holding <family>.otf and metadata.json.
std::string MusicFontDirectory();

// One code of the system as the font draws it. Lengths are in staff spaces, y up, from the SMuFL origin.
struct MusicGlyph {
    char32_t codePoint = 0;
    std::string_view name;
    double advance = 0;
    GlyphBox box;
    StaffSpacePoint offset;  // from the point the system writes the code at to the glyph's SMuFL origin
};

class MusicFont {
public:
    // The system's music font is eight staff spaces high; a SMuFL em is four.
    static constexpr double StaffSpacesPerHeight = 8.0;
    static constexpr double StaffSpacesPerEm = 4.0;

    // Reads <dir>/<family>/<family>.otf and its metadata.json; nullopt when either is missing or unreadable.
    static std::optional<MusicFont> Load(SmuflFamily family, const std::string& dir);
    // The font of the installed folder, read once per process and shared; null when it cannot be read.
    static const MusicFont* Installed(SmuflFamily family);

    const std::string& family() const { return family_; }
    const std::string& file() const { return file_; }
    const SmuflMetadata& metadata() const { return metadata_; }

    // The glyph that draws `code` (alternate: the code of an old-notation line, see SubstituteCode); null when the
    // system's code has no glyph.
    const MusicGlyph* glyph(int code, bool alternate = false) const;
    // A glyph drawn without a code (braces, bracket ends); null when the font lacks it.
    const MusicGlyph* structural(StructuralGlyph which) const;

    // The canvas font for a system font height in logical units.
    GlyphFont atHeight(int systemHeight, int escapement = 0) const;
    // The advance of `code` at a system font height, in logical units (rounded, as devices report widths).
    int widthAt(int code, int systemHeight, bool alternate = false) const;

    // The font's extent above and below the baseline, in ems.
    double ascent() const { return ascent_; }
    double descent() const { return descent_; }

private:
    void resolve(const OpenTypeMetrics& otf);
    std::optional<MusicGlyph> resolveName(const OpenTypeMetrics& otf, std::string_view name, char32_t cp) const;

    std::string family_;
    std::string file_;
    SmuflMetadata metadata_;
    double ascent_ = 0;
    double descent_ = 0;
    std::array<std::optional<MusicGlyph>, 256> normal_;
    std::array<std::optional<MusicGlyph>, 256> alternate_;
    std::array<std::optional<MusicGlyph>, StructuralGlyphCount> structural_;
};

}  // namespace notavera
