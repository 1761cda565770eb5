// Text elements: their sign-word fields, characters and measures.
#include "edit/text_elements.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>

#include "render/music_font.h"
#include "render/opentype_metrics.h"
#include "render/text_faces.h"

namespace notavera {

namespace {

constexpr std::array<std::string_view, textCategoryCount> categoryNames{
    "DYNAMIQUE", "PAROLES", "INSTRUMENT", "MARQUAGE", "SYMB-ORN", "TEMPO", "DIVERS"};
constexpr std::array<std::string_view, textTypeCount> markNames{
    "Silence multiple", "No mes.", "Chiffrage", "Marque Globale", "Varia", "Marquage 6", "Marquage 7"};
constexpr std::array<std::string_view, textTypeCount> miscNames{
    "Titre 1", "Titre 2", "Titre 3", "Divers 1", "Divers 2", "Divers 3", "Divers 4"};
constexpr std::array<std::string_view, 4> styleNames{"Droit-Norm", "Ital-Norm", "Droit-Gras", "Ital-Gras"};
constexpr std::array<std::string_view, 4> orientationNames{"", "(Horiz)", "(Vert)", "(Arrière)"};

// Font files are read once per process: committing a verse measures hundreds of syllables.
const OpenTypeMetrics* MetricsOfFile(const std::string& file) {
    static std::mutex guard;
    static std::map<std::string, std::optional<OpenTypeMetrics>> loaded;
    const std::lock_guard lock(guard);
    auto it = loaded.find(file);
    if (it == loaded.end()) it = loaded.emplace(file, OpenTypeMetrics::Load(file)).first;
    return it->second ? &*it->second : nullptr;
}

// 1252 bytes to code points: the code page agrees with Unicode outside 0x80..0x9F, which measuring can ignore.
int MeasureWithFile(const std::string& file, std::string_view characters, int size) {
    const OpenTypeMetrics* m = MetricsOfFile(file);
    if (m == nullptr || m->unitsPerEm() <= 0) return static_cast<int>(characters.size()) * size / 2;
    long units = 0;
    for (const char c : characters) {
        const char32_t cp = static_cast<unsigned char>(c);
        units += m->advance(cp).value_or(m->unitsPerEm() / 2);
    }
    return static_cast<int>(std::lround(static_cast<double>(units) * size / m->unitsPerEm()));
}

}  // namespace

bool IsLyric(const ElementRecord& e) { return IsText(e) && TextAttributesOf(e).category == TextCategory::Lyrics; }

bool IsHyphen(const ElementRecord& e) { return IsLyric(e) && TextCharacters(e) == "-"; }

int MeasureTextWidth(const FontBlock& fonts, const TextAttributes& a, std::string_view characters) {
    const int index = a.fontIndex & 31;
    if (index == 0) {
        const MusicFont* music = MusicFont::Installed(FamilyForFace(fonts.faceName(0)));
        if (music == nullptr) return static_cast<int>(characters.size()) * a.size / 2;
        int width = 0;
        for (const char c : characters) width += music->widthAt(static_cast<unsigned char>(c), a.size);
        return width;
    }
    const bool bold = a.style == TextStyle::Bold || a.style == TextStyle::BoldItalic;
    const bool italic = a.style == TextStyle::Italic || a.style == TextStyle::BoldItalic;
    const InstalledTextFace face = ResolveTextFace(fonts.faceName(index), bold ? 700 : 400, italic);
    return MeasureWithFile(face.file, characters, a.size);
}

int TextLeftOf(const TextAttributes& a, int x, int width) {
    if (a.category != TextCategory::Lyrics) return x;
    if (a.justification == LyricJustification::Centred) return x - width / 2;
    if (a.justification == LyricJustification::Ending) return x - width;
    return x;
}

std::string_view TextCategoryName(TextCategory c) {
    return categoryNames[static_cast<std::size_t>(c) % textCategoryCount];
}

std::string TextTypeName(TextCategory c, unsigned type) {
    const std::size_t t = type % textTypeCount;
    if (c == TextCategory::Marks) return std::string(markNames[t]);
    if (c == TextCategory::Miscellaneous) return std::string(miscNames[t]);
    return std::string(TextCategoryName(c)) + " " + std::to_string(t + 1);
}

std::string_view TextStyleName(TextStyle style) { return styleNames[static_cast<unsigned>(style) & 3u]; }
std::string_view TextOrientationName(TextOrientation orientation) {
    return orientationNames[static_cast<unsigned>(orientation) & 3u];
}

}  // namespace notavera
