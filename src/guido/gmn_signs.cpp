// Clef strings, key names and meter strings of GUIDO files, as the score's clefs, keys and time signatures.
#include "guido/gmn_signs.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace notavera {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A clef letter with an optional line digit: g2 treble, f4 bass, c3 alto and their other lines.
unsigned clefByLetter(char letter, int line) {
    switch (letter) {
        case 'g': return line == 1 ? 2 : (line == 0 || line == 2) ? 1 : 7;
        case 'f': return (line == 0 || line == 4) ? 3 : line == 3 ? 4 : line == 5 ? 10 : 7;
        case 'c':
            switch (line) {
                case 1: return 5;
                case 2: return 6;
                case 4: return 8;
                case 5: return 11;
                default: return 7;
            }
        default: return 7;
    }
}

constexpr std::pair<std::string_view, unsigned> clefNames[] = {
    {"treble", 1}, {"violino", 1}, {"violin", 1}, {"bass", 3}, {"basso", 3}, {"tenor", 8}, {"alto", 7}, {"perc", 12},
};

// A written octave transposition ("g2-8", "f+8") does not change where the clef sits; only the G clef an
// octave lower has a clef of its own.
std::pair<std::string, int> withoutOctaveMark(const std::string& text) {
    for (std::string_view mark : {"-8", "+8", "-15", "+15"}) {
        if (text.size() > mark.size() && text.ends_with(mark))
            return {text.substr(0, text.size() - mark.size()), mark == "-8" ? -8 : 8};
    }
    return {text, 0};
}

constexpr std::pair<std::string_view, int> keyNames[] = {
    {"C", 0},   {"a", 0},    {"G", 1},   {"e", 1},   {"D", 2},   {"h", 2},   {"b", 2},   {"A", 3},   {"f#", 3},
    {"E", 4},   {"c#", 4},   {"H", 5},   {"B", 5},   {"g#", 5},  {"F#", 6},  {"d#", 6},  {"C#", 7},  {"a#", 7},
    {"F", -1},  {"d", -1},   {"B&", -2}, {"g", -2},  {"E&", -3}, {"c", -3},  {"A&", -4}, {"f", -4},  {"D&", -5},
    {"b&", -5}, {"G&", -6},  {"e&", -6}, {"C&", -7}, {"a&", -7},
};

std::optional<unsigned> parseCount(std::string_view text) {
    if (text.empty() || text.size() > 3 || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    unsigned v = 0;
    for (char c : text) v = v * 10 + static_cast<unsigned>(c - '0');
    return v;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<GmnClef> GmnClefFromString(const std::string& text) {
    if (text == "none") return std::nullopt;
    const auto [clef, octaveMark] = withoutOctaveMark(text);
    if (clef.size() == 1 || clef.size() == 2) {
        const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(clef[0])));
        const int line = clef.size() == 2 && isDigit(clef[1]) ? clef[1] - '0' : 0;
        if (clef.size() == 2 && !isDigit(clef[1])) return GmnClef{7, 0};
        const unsigned number = clefByLetter(letter, line);
        return GmnClef{number == 1 && octaveMark == -8 ? 9u : number, line};
    }
    for (const auto& [name, number] : clefNames)
        if (name == clef) return GmnClef{number, 0};
    return GmnClef{7, 0};
}

int GmnKeyCount(const GmnTagArguments& args, int k) {
    switch (args.type(k)) {
        case 'i':
        case 'f': return static_cast<int>(std::clamp(args.intValue(k), -7L, 7L));
        case 's': {
            const std::string& name = args.stringValue(k);
            for (const auto& [key, count] : keyNames)
                if (key == name) return count;
            return 0;
        }
        default: return 0;
    }
}

std::optional<GmnMeter> GmnMeterFromString(const std::string& text) {
    const std::string_view s = trimmed(text);
    if (s == "C") return GmnMeter{true, 0, 4, 4};
    if (s == "C/") return GmnMeter{true, 1, 2, 2};
    const std::size_t slash = s.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const auto denominator = parseCount(trimmed(s.substr(slash + 1)));
    if (!denominator || *denominator == 0) return std::nullopt;
    unsigned numerator = 0;
    std::string_view terms = s.substr(0, slash);
    // "3+2/8": the bar holds the added counts.
    while (true) {
        const std::size_t plus = terms.find('+');
        const auto term = parseCount(trimmed(terms.substr(0, plus)));
        if (!term) return std::nullopt;
        numerator += *term;
        if (plus == std::string_view::npos) break;
        terms.remove_prefix(plus + 1);
    }
    if (numerator == 0) return std::nullopt;
    return GmnMeter{false, 0, numerator, *denominator};
}

}  // namespace notavera
