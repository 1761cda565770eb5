// Splitting a GUIDO duration into note values of the score.
#include "guido/gmn_note_values.h"

#include <cstdint>

#include "score/durations.h"

namespace notavera {

namespace {

constexpr int longaIn256ths = 1024;
const GmnRational longa(4, 1);
const GmnRational shortest(1, 256);

GmnWrittenValue plainValue(unsigned code) {
    return GmnWrittenValue{code, 1, 1, 0, GmnRational(NoteDuration(code, 0), 256)};
}

// The value that makes d256 with one or two dots, if there is one.
bool appendDotted(std::vector<GmnWrittenValue>& values, std::int64_t d256) {
    for (unsigned dots = 1; dots <= 2; ++dots)
        for (unsigned code = longestDurationCode; code <= shortestDurationCode; ++code) {
            const int plain = NoteDuration(code, 0);
            if (plain % (1 << dots) != 0 || NoteDuration(code, dots) != d256) continue;
            values.push_back(GmnWrittenValue{code, 1, 1, dots, GmnRational(d256, 256)});
            return true;
        }
    return false;
}

void appendSplit(std::vector<GmnWrittenValue>& values, std::int64_t d256) {
    if (appendDotted(values, d256)) return;
    if (d256 > maxGmnPieces * longaIn256ths) d256 = maxGmnPieces * longaIn256ths;
    for (unsigned code : SplitDuration(static_cast<int>(d256))) {
        if (static_cast<int>(values.size()) >= maxGmnPieces) return;
        values.push_back(plainValue(code));
    }
}

// The shortest plain value (longa at most) that is not shorter than d, and the proportion that shortens it
// to d; nothing when the proportion needs numbers beyond 99.
bool appendTuplet(std::vector<GmnWrittenValue>& values, const GmnRational& d) {
    unsigned code = shortestDurationCode;
    while (code > longestDurationCode && GmnRational(NoteDuration(code, 0), 256).compare(d) < 0) --code;
    const GmnRational plain(NoteDuration(code, 0), 256);
    // d = plain × q / r: r notes in the time of q.
    const GmnRational ratio = d.scaled(plain.den(), plain.num());
    if (ratio.num() < 1 || ratio.num() > 99 || ratio.den() > 99) return false;
    values.push_back(
        GmnWrittenValue{code, static_cast<unsigned>(ratio.den()), static_cast<unsigned>(ratio.num()), 0, d});
    return true;
}

}  // namespace

std::vector<GmnWrittenValue> GmnWrittenValues(const GmnRational& duration) {
    std::vector<GmnWrittenValue> values;
    GmnRational rest = duration;
    while (rest.compare(longa) > 0 && static_cast<int>(values.size()) < maxGmnPieces) {
        values.push_back(plainValue(longestDurationCode));
        rest = rest - longa;
    }
    if (!rest.isPositive() || static_cast<int>(values.size()) >= maxGmnPieces) return values;
    if (rest.isDyadic() && rest.den() <= 256) {
        appendSplit(values, std::int64_t{rest.num()} * (256 / rest.den()));
        return values;
    }
    // A proportion too large to write (121/384: a half in the time of 192:121) is avoided by writing the plain
    // values the duration holds first, longest first, until what is left takes a proportion: the music keeps its
    // exact length.
    const std::size_t before = values.size();
    const GmnRational whole = rest;
    for (;;) {
        if (appendTuplet(values, rest)) return values;
        if (static_cast<int>(values.size()) + 1 >= maxGmnPieces) break;
        unsigned code = longestDurationCode;
        while (code < shortestDurationCode && GmnRational(NoteDuration(code, 0), 256).compare(rest) > 0) ++code;
        const GmnWrittenValue plain = plainValue(code);
        if (plain.length.compare(rest) >= 0) break;
        values.push_back(plain);
        rest = rest - plain.length;
    }
    // Truncated to 256ths as a last resort, but never to nothing: the note stays visible.
    values.resize(before);
    rest = whole;
    const std::int64_t d256 = std::int64_t{rest.num()} * 256 / rest.den();
    if (d256 > 0)
        appendSplit(values, d256);
    else
        values.push_back(plainValue(shortestDurationCode));
    return values;
}

}  // namespace notavera
