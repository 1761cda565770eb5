// The table of substituted text faces and the Liberation files that hold them (Debian's fonts-liberation).
#include "render/text_faces.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace notavera {
namespace {

constexpr std::string_view LiberationDir = "/usr/share/fonts/truetype/liberation/";

struct Substitution {
    std::string_view windowsFace;
    std::string_view family;
    std::string_view fileStem;
};

constexpr std::array<Substitution, 3> Substitutions{{
    {"Times New Roman", "Liberation Serif", "LiberationSerif"},
    {"Arial", "Liberation Sans", "LiberationSans"},
    {"Courier New", "Liberation Mono", "LiberationMono"},
}};

bool SameFace(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string StyleSuffix(int weight, bool italic) {
    const bool bold = weight > 400;
    if (bold && italic) return "-BoldItalic.ttf";
    if (bold) return "-Bold.ttf";
    if (italic) return "-Italic.ttf";
    return "-Regular.ttf";
}

}  // namespace

InstalledTextFace ResolveTextFace(std::string_view face, int weight, bool italic) {
    const std::string suffix = StyleSuffix(weight, italic);
    for (const Substitution& s : Substitutions) {
        if (SameFace(face, s.windowsFace))
            return {std::string(s.family), std::string(LiberationDir) + std::string(s.fileStem) + suffix};
    }
    return {std::string(face), std::string(LiberationDir) + "LiberationSans" + suffix};
}

}  // namespace notavera
