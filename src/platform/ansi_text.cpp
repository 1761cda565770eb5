// Conversions between UTF-8 and the Windows ANSI code page 1252.
#include "platform/ansi_text.h"

#include <array>
#include <cstdint>
#include <optional>

namespace notavera {
namespace {

// Code page 1252 puts typographic characters at 0x80..0x9F where Latin-1 has control codes; 0 marks the five
// unassigned bytes.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char AnsiByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Decodes one character at `at`, advancing it; nullopt for a malformed sequence (one byte is skipped).
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& at) {
    const auto lead = static_cast<std::uint8_t>(s[at++]);
    if (lead < 0x80) return lead;
    int extra = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        c = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        c = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        c = lead & 0x07u;
    } else {
        return std::nullopt;
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    const std::size_t start = at;
    for (int i = 0; i < extra; ++i) {
        if (at >= s.size() || (static_cast<std::uint8_t>(s[at]) & 0xC0) != 0x80) {
            at = start;
            return std::nullopt;
        }
        c = c << 6 | (static_cast<std::uint8_t>(s[at++]) & 0x3Fu);
    }
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | c >> 6));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | c >> 12));
        out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char byte : ansi) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0) c = kHighControls[b - 0x80u] != 0 ? kHighControls[b - 0x80u] : 0xFFFD;
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::optional<char32_t> c = NextCodePoint(utf8, at);
        out.push_back(c ? AnsiByte(*c) : '?');
    }
    return out;
}

}  // namespace notavera
