// The text tags of GUIDO turned into text signs.
#include "guido/gmn_texts.h"

#include <algorithm>

#include "platform/ansi_text.h"

namespace notavera {
namespace {

// The letters the music font draws as dynamics: a mark spelt with them only is written in that font.
constexpr std::string_view DynamicLetters = "fmnprsz";

bool ValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n;
    }
    return true;
}

bool Named(const GmnTagArguments& args, std::string_view name, std::string_view value) {
    for (int k = 1; k <= args.count(); ++k)
        if (args.name(k) == name && args.type(k) == 's' && args.stringValue(k) == value) return true;
    return false;
}

// A negative "dy" puts a text under its staff.
bool BelowByOffset(const GmnTagArguments& args) {
    for (int k = 1; k <= args.count(); ++k) {
        if (args.name(k) != "dy") continue;
        const double dy = args.type(k) == 'f' ? args.realValue(k) : static_cast<double>(args.intValue(k));
        return dy < 0;
    }
    return false;
}

TextAttributes Attributes(TextCategory category, unsigned type, int fontIndex, TextStyle style, int size) {
    TextAttributes a;
    a.category = category;
    a.type = type;
    a.fontIndex = fontIndex;
    a.style = style;
    a.size = std::clamp(size, MinTextSize, MaxTextSize);
    return a;
}

}  // namespace

std::optional<std::string> GmnTextArgument(const GmnTagArguments& args) {
    for (int k = 1; k <= args.count(); ++k)
        if (args.type(k) == 's' && (args.name(k).empty() || args.name(k) == "text")) return args.stringValue(k);
    return std::nullopt;
}

std::string GmnTextToAnsi(std::string_view text) { return ValidUtf8(text) ? Utf8ToAnsi(text) : std::string(text); }

std::optional<GmnText> GmnNoteText(std::string_view tag, const GmnTagArguments& args, int space) {
    const auto text = GmnTextArgument(args);
    if (!text || text->empty()) return std::nullopt;
    GmnText t;
    t.chars = GmnTextToAnsi(*text);
    if (tag == "\\intens" || tag == "\\i") {
        const bool letters = t.chars.find_first_not_of(DynamicLetters) == std::string::npos;
        // Words such as "cresc." are no music-font marks: they are written in italics.
        t.attributes = letters ? Attributes(TextCategory::Dynamics, 0, MusicFontIndex, TextStyle::Upright, 8 * space)
                               : Attributes(TextCategory::Dynamics, 0, TimesFontIndex, TextStyle::Italic, 2 * space);
        t.side = GmnTextSide::Below;
    } else if (tag == "\\tempo") {
        t.attributes = Attributes(TextCategory::Tempo, 0, TimesFontIndex, TextStyle::Bold, 5 * space / 2);
    } else if (tag == "\\text" || tag == "\\t") {
        t.attributes = Attributes(TextCategory::Miscellaneous, FirstMiscellaneous, TimesFontIndex, TextStyle::Italic,
                                  2 * space);
        t.side = BelowByOffset(args) ? GmnTextSide::Below : GmnTextSide::Above;
    } else if (tag == "\\fingering" || tag == "\\fing") {
        // Fingerings are digits: in the music font they would be time-signature numerals, so a text face writes them.
        t.attributes =
            Attributes(TextCategory::SymbolsOrnaments, 0, TimesFontIndex, TextStyle::Upright, 3 * space / 2);
        t.side = Named(args, "position", "below") ? GmnTextSide::Below : GmnTextSide::Above;
    } else {
        return std::nullopt;
    }
    return t;
}

std::optional<GmnText> GmnHeadingText(std::string_view tag, const GmnTagArguments& args, int space, int rank) {
    const auto text = GmnTextArgument(args);
    if (!text || text->empty()) return std::nullopt;
    GmnText t;
    t.chars = GmnTextToAnsi(*text);
    if (tag == "\\title") {
        const unsigned type = FirstTitle + static_cast<unsigned>(std::min(rank, 2));
        // The first title is the largest; the others (a dedication, a subtitle) smaller.
        const int size = rank == 0 ? 4 * space : 5 * space / 2;
        t.attributes = Attributes(TextCategory::Miscellaneous, type, TimesFontIndex,
                                  rank == 0 ? TextStyle::Bold : TextStyle::Italic, size);
    } else if (tag == "\\composer") {
        t.attributes = Attributes(TextCategory::Miscellaneous, FirstMiscellaneous, TimesFontIndex, TextStyle::Upright,
                                  2 * space);
    } else {
        return std::nullopt;
    }
    return t;
}

GmnText GmnInstrumentText(std::string chars, int space) {
    GmnText t;
    t.chars = std::move(chars);
    t.attributes = Attributes(TextCategory::Instrument, 0, TimesFontIndex, TextStyle::Upright, 2 * space);
    return t;
}

GmnText GmnSyllableText(std::string chars, int space) {
    GmnText t;
    t.chars = std::move(chars);
    t.attributes = Attributes(TextCategory::Lyrics, 0, TimesFontIndex, TextStyle::Upright, 5 * space / 2);
    t.attributes.justification = LyricJustification::Centred;
    t.side = GmnTextSide::Below;
    return t;
}

std::vector<std::string> GmnLyricSyllables(std::string_view text) {
    std::vector<std::string> syllables;
    std::string current;
    bool started = false;
    for (char c : text) {
        if (c == ' ' || c == '-' || c == '_') {
            if (!started && c == ' ') continue;  // blanks before the first word
            if (c == '-' && !current.empty()) current += '-';
            syllables.push_back(GmnTextToAnsi(current));
            current.clear();
            started = true;
            continue;
        }
        started = true;
        current += c == '~' ? ' ' : c;
    }
    if (!current.empty()) syllables.push_back(GmnTextToAnsi(current));
    return syllables;
}

}  // namespace notavera
