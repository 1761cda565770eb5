// The horizontal advance that follows a note or rest when lines are respaced.
#include "render/note_advance.h"

#include <algorithm>

#include "score/records.h"

namespace notavera {

namespace {

// How many codes the value lies above the reference value (0 at the reference or shorter).
int CodesAboveReference(const ElementRecord& e, const AdvanceRules& rules) {
    const auto nw = e.noteWord();
    int code = static_cast<int>(nw.durationCode());
    if (e.isRest() && nw.durationCode() == NoteWordView<const std::uint32_t>::multiBarRestCode) {
        code = 2;
    } else if (e.w0().cueSize()) {
        code = std::min(code + 1, 10);  // a cue note spaces like the next shorter value
    }
    return std::max(rules.referenceValue - code, 0);
}

int ApplyProportion(const ElementRecord& e, int advance, int s) {
    const int n = static_cast<int>(e.w1().numerator());
    const int d = static_cast<int>(e.w1().denominator());
    if (n < 1 || d < 1 || n == d) return advance;  // a zero field is damage, not a tuplet
    return std::max(advance * d / n, 3 * s);
}

int ApplyAesthetic(const ElementRecord& e, int advance, int k, const AdvanceRules& rules, int s) {
    if (rules.aesthetic == 0 || k == 0) return advance;
    advance = (rules.polyphony != 0 || rules.aesthetic == 2) ? advance * 3 / 4 : advance * 2 / 3;
    advance = std::max(advance, 3 * s);
    if (rules.polyphony == 0) advance = std::min(advance, 12 * s);
    if (k >= 4 && rules.referenceValue >= 6) {
        const unsigned code = e.noteWord().durationCode();
        if (code == 2) advance += 4 * s;
        if (code == 3 && rules.referenceValue >= 7) advance += 2 * s;
    }
    return advance;
}

int ApplyDots(const ElementRecord& e, int advance, int k, const AdvanceRules& rules, int s) {
    const auto nw = e.noteWord();
    const unsigned dots = nw.dots();
    if (dots == 0) return advance;
    if (k == 0) {
        // At the reference value the advance is already the shortest one: the dot needs its own room.
        advance = std::max(advance + s, dots >= 2 ? 11 * s / 2 : 5 * s);
        const bool flaggedUp = e.isNote() && nw.durationCode() >= 6 && nw.stemFlag() && !e.w0().inBeam();
        if (flaggedUp) advance = std::max(advance, dots >= 2 ? s * 13 / 2 : s * 12 / 2);
        return advance;
    }
    if (dots == 1) return advance + (rules.aesthetic != 0 ? advance / 3 : advance / 2);
    return advance + (k == 1 ? advance / 2 + s : advance * 3 / 4);
}

}  // namespace

int NoteAdvance(const ElementRecord& e, const AdvanceRules& rules, int s) {
    const int k = CodesAboveReference(e, rules);
    int advance = 3 * s * (1 << std::min(k, 5));
    advance = ApplyProportion(e, advance, s);
    advance = ApplyAesthetic(e, advance, k, rules, s);
    return ApplyDots(e, advance, k, rules, s);
}

}  // namespace notavera
