// A strict UTF-8 decoder: overlong forms, surrogates and truncated sequences give one U+FFFD each.
#include "render/utf8.h"

namespace notavera {
namespace {

constexpr char32_t Replacement = 0xFFFD;

// The length of the sequence a lead byte opens and the bits it contributes; 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead, char32_t& bits) {
    if (lead < 0x80) { bits = lead; return 1; }
    if (lead >= 0xC2 && lead <= 0xDF) { bits = lead & 0x1Fu; return 2; }
    if (lead >= 0xE0 && lead <= 0xEF) { bits = lead & 0x0Fu; return 3; }
    if (lead >= 0xF0 && lead <= 0xF4) { bits = lead & 0x07u; return 4; }
    return 0;
}

bool Acceptable(char32_t c, int length) {
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= smallest[length] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        const int length = SequenceLength(static_cast<unsigned char>(utf8[i]), c);
        if (length == 0 || utf8.size() - i < static_cast<std::size_t>(length)) {
            out.push_back(Replacement);
            ++i;
            continue;
        }
        int k = 1;
        for (; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0u) != 0x80u) break;
            c = c << 6 | (next & 0x3Fu);
        }
        if (k < length || !Acceptable(c, length)) {
            out.push_back(Replacement);
            i += static_cast<std::size_t>(k);
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

}  // namespace notavera
