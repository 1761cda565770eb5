// Loads a SMuFL font's file and metadata and resolves every code of the system's table to one of its glyphs.
#include "render/music_font.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "render/music_font_table.h"

namespace notavera {
namespace {

constexpr std::string_view FamilyName(SmuflFamily f) { return f == SmuflFamily::Leland ? "Leland" : "Bravura"; }
constexpr std::string_view FolderName(SmuflFamily f) { return f == SmuflFamily::Leland ? "leland" : "bravura"; }

// Time-signature glyphs are two staff spaces high and centred on the line in SMuFL.
constexpr double TimeSignatureHalfHeight = 1.0;

bool SameName(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

double CentreY(const GlyphBox& b) { return (b.sw.y + b.ne.y) / 2; }

}  // namespace

SmuflFamily FamilyForFace(std::string_view face) {
    return SameName(face, "Leland") ? SmuflFamily::Leland : SmuflFamily::Bravura;
}

std::string MusicFontDirectory() {
    if (const char* dir = std::getenv("NOTAVERA_FONT_DIR"); dir != nullptr && *dir != '\0') return dir;
    // The build's folder while it exists; an installed program finds the fonts in its data folder.
    std::error_code ec;
    if (std::filesystem::is_directory(NOTAVERA_FONT_DIR, ec)) return NOTAVERA_FONT_DIR;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto installed = program.parent_path().parent_path() / "share" / "notavera" / "fonts";
    if (!ec && std::filesystem::is_directory(installed, ec)) return installed.string();
    return NOTAVERA_FONT_DIR;
}

std::optional<MusicFont> MusicFont::Load(SmuflFamily family, const std::string& dir) {
    const std::string folder = dir + "/" + std::string(FolderName(family)) + "/";
    MusicFont font;
    font.family_ = std::string(FamilyName(family));
    font.file_ = folder + std::string(FolderName(family)) + ".otf";
    auto otf = OpenTypeMetrics::Load(font.file_);
    auto metadata = SmuflMetadata::Load(folder + "metadata.json");
    if (!otf || !metadata) return std::nullopt;
    font.metadata_ = std::move(*metadata);
    font.ascent_ = static_cast<double>(otf->ascender()) / otf->unitsPerEm();
    font.descent_ = static_cast<double>(otf->descender()) / otf->unitsPerEm();
    font.resolve(*otf);
    return font;
}

const MusicFont* MusicFont::Installed(SmuflFamily family) {
    // Immutable once read, so one copy serves every document and thread of the process.
    if (family == SmuflFamily::Leland) {
        static const std::optional<MusicFont> leland = Load(SmuflFamily::Leland, MusicFontDirectory());
        return leland ? &*leland : nullptr;
    }
    static const std::optional<MusicFont> bravura = Load(SmuflFamily::Bravura, MusicFontDirectory());
    return bravura ? &*bravura : nullptr;
}

std::optional<MusicGlyph> MusicFont::resolveName(const OpenTypeMetrics& otf, std::string_view name,
                                                 char32_t cp) const {
    if (name.empty() || !otf.hasGlyph(cp)) return std::nullopt;
    MusicGlyph g;
    g.codePoint = cp;
    g.name = name;
    g.advance = *otf.advance(cp) * StaffSpacesPerEm / otf.unitsPerEm();
    g.box = metadata_.box(name).value_or(GlyphBox{});
    return g;
}

void MusicFont::resolve(const OpenTypeMetrics& otf) {
    for (const MusicCode& c : NormalMusicCodes()) {
        auto g = resolveName(otf, c.glyph.name, c.glyph.codePoint);
        if (!g) g = resolveName(otf, c.fallback.name, c.fallback.codePoint);
        if (g) normal_[c.code] = g;
    }
    // Offsets need the black notehead, which articulations are centred over.
    const double blackWidth = normal_[204] ? normal_[204]->advance : 0.0;
    auto place = [blackWidth](MusicGlyph& g, GlyphAnchor anchor) {
        switch (anchor) {
        case GlyphAnchor::Origin: break;
        case GlyphAnchor::SeatedOnBaseline: g.offset = {0, TimeSignatureHalfHeight}; break;
        case GlyphAnchor::CentredVertically: g.offset = {0, -CentreY(g.box)}; break;
        case GlyphAnchor::OverNotehead:
            g.offset = {(blackWidth - g.box.width()) / 2 - g.box.sw.x, -CentreY(g.box)};
            break;
        }
    };
    for (const MusicCode& c : NormalMusicCodes()) {
        if (normal_[c.code]) place(*normal_[c.code], c.anchor);
    }
    for (const AlternateMusicCode& c : AlternateMusicCodes()) {
        if (auto g = resolveName(otf, c.glyph.name, c.glyph.codePoint)) {
            place(*g, c.anchor);
            alternate_[c.code] = g;
        } else {
            alternate_[c.code] = normal_[c.modernCode];
        }
    }
    // Optional glyphs share code points between fonts: a glyph counts only when the metadata knows it by name.
    const auto structural = StructuralGlyphNames();
    for (std::size_t i = 0; i < structural.size(); ++i) {
        if (metadata_.box(structural[i].name))
            structural_[i] = resolveName(otf, structural[i].name, structural[i].codePoint);
    }
}

const MusicGlyph* MusicFont::glyph(int code, bool alternate) const {
    if (code < 0 || code > 255) return nullptr;
    const auto i = static_cast<std::size_t>(code);
    if (alternate) {
        if (alternate_[i]) return &*alternate_[i];
        // Alternate codes without an ancient shape of their own draw the modern glyph of code − 20.
        if (code >= 220) return normal_[i - 20] ? &*normal_[i - 20] : nullptr;
        return nullptr;
    }
    return normal_[i] ? &*normal_[i] : nullptr;
}

const MusicGlyph* MusicFont::structural(StructuralGlyph which) const {
    const auto i = static_cast<std::size_t>(which);
    return i < structural_.size() && structural_[i] ? &*structural_[i] : nullptr;
}

GlyphFont MusicFont::atHeight(int systemHeight, int escapement) const {
    return {family_, file_, systemHeight * StaffSpacesPerEm / StaffSpacesPerHeight, escapement};
}

int MusicFont::widthAt(int code, int systemHeight, bool alternate) const {
    const MusicGlyph* g = glyph(code, alternate);
    if (g == nullptr) return 0;
    return static_cast<int>(std::lround(g->advance * systemHeight / StaffSpacesPerHeight));
}

}  // namespace notavera
