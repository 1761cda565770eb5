// The spacing matrix: building, tying simultaneous notes across staves and sorting.
#include "render/spacing_matrix.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>

#include "score/records.h"

namespace notavera {

namespace {

// A time from the line's start in whole notes, exact for tuplets.
struct Onset {
    std::int64_t num = 0;
    std::int64_t den = 1;

    void add(std::int64_t n, std::int64_t d) {
        num = num * d + n * den;
        den *= d;
        const std::int64_t g = std::gcd(num, den);
        if (g > 1) {
            num /= g;
            den /= g;
        }
    }
    friend bool operator==(const Onset&, const Onset&) = default;
};

// Length of a note or rest in 256ths of a whole note with its dots, and its proportion as a fraction to apply.
void AddLength(Onset& t, const ElementRecord& e) {
    const auto nw = e.noteWord();
    const unsigned code = nw.durationCode() > 10 ? 2 : nw.durationCode();  // a multi-bar rest counts one bar
    std::int64_t base = 1024 >> code;
    std::int64_t length = base;
    for (unsigned d = 0; d < nw.dots(); ++d) {
        base /= 2;
        length += base;
    }
    const std::int64_t n = std::max<unsigned>(e.w1().numerator(), 1);
    const std::int64_t den = std::max<unsigned>(e.w1().denominator(), 1);
    t.add(length * den, 256 * n);
}

bool IsChordMember(const ElementRecord& e) { return e.isNote() && e.noteWord().bit(18); }

// Ranks at equal sort x: clef, time signature, other signs, then notes and rests.
int KindRank(const ElementRecord& e) {
    if (!e.isSign()) return 3;
    if (e.isSignOfType(SignType::Clef)) return 0;
    if (e.isSignOfType(SignType::TimeSignature)) return 1;
    return 2;
}

// Among simultaneous notes: chord members first, the stem member last of them, then other notes and rests.
int ChordRank(const ElementRecord& e) {
    if (!IsChordMember(e)) return 2;
    return e.noteWord().bit(19) ? 1 : 0;
}

int ProportionRank(const ElementRecord& e) {
    return static_cast<int>(e.w1().numerator()) / std::max(static_cast<int>(e.w1().denominator()), 1);
}

struct MatrixOrder {
    std::span<StaffRecord* const> staves;

    const ElementRecord& at(const SpacingEntry& s) const { return staves[s.staff]->elements[s.index]; }

    bool operator()(const SpacingEntry& a, const SpacingEntry& b) const {
        if (a.sortX != b.sortX) return a.sortX < b.sortX;
        const ElementRecord& ea = at(a);
        const ElementRecord& eb = at(b);
        if (KindRank(ea) != KindRank(eb)) return KindRank(ea) < KindRank(eb);
        if (!ea.isSign() && !eb.isSign()) {
            // The shorter value first: its advance decides where the next column starts.
            if (ea.noteWord().durationCode() != eb.noteWord().durationCode())
                return ea.noteWord().durationCode() > eb.noteWord().durationCode();
            if (ProportionRank(ea) != ProportionRank(eb)) return ProportionRank(ea) < ProportionRank(eb);
            if (ChordRank(ea) != ChordRank(eb)) return ChordRank(ea) < ChordRank(eb);
        }
        if (a.oldX != b.oldX) return a.oldX < b.oldX;
        if (a.staff != b.staff) return a.staff < b.staff;
        return a.index < b.index;
    }
};

// Entries of simultaneous notes on different staves take the smallest old x of their group as sort x.
void TieSimultaneousNotes(std::vector<SpacingEntry>& m, const std::vector<Onset>& onsets,
                          std::span<StaffRecord* const> staves, int tolerance) {
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (staves[m[i].staff]->elements[m[i].index].isSign()) continue;
        for (std::size_t j = i + 1; j < m.size() && m[j].oldX - m[i].oldX <= tolerance; ++j) {
            if (m[j].staff == m[i].staff || staves[m[j].staff]->elements[m[j].index].isSign()) continue;
            if (onsets[j] == onsets[i]) m[j].sortX = std::min(m[j].sortX, m[i].sortX);
        }
    }
}

// Sorting may bring elements of one staff that share an x out of their stored order; the slots a staff holds in
// the matrix are handed back to its elements in their own order.
void RestoreStaffOrder(std::vector<SpacingEntry>& m, std::size_t staffCount) {
    for (std::size_t s = 0; s < staffCount; ++s) {
        std::vector<std::size_t> slots;
        std::vector<SpacingEntry> entries;
        for (std::size_t i = 0; i < m.size(); ++i) {
            if (static_cast<std::size_t>(m[i].staff) != s) continue;
            slots.push_back(i);
            entries.push_back(m[i]);
        }
        std::sort(entries.begin(), entries.end(),
                  [](const SpacingEntry& a, const SpacingEntry& b) { return a.index < b.index; });
        for (std::size_t k = 0; k < slots.size(); ++k) m[slots[k]] = entries[k];
    }
}

}  // namespace

std::vector<SpacingEntry> BuildSpacingMatrix(std::span<StaffRecord* const> staves, int tolerance) {
    std::vector<SpacingEntry> m;
    std::vector<Onset> staffOnsets;
    std::vector<Onset> onsets;
    for (std::size_t s = 0; s < staves.size(); ++s) {
        Onset t;
        int lastNoteX = 0;
        bool counted = false;
        const auto& elements = staves[s]->elements;
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const ElementRecord& e = elements[i];
            const bool sameChord = IsChordMember(e) && counted && e.x == lastNoteX;
            if (!e.isSign() && sameChord) {
                // A further chord member starts with its chord, which has already counted its length.
                onsets.push_back(onsets.back());
            } else {
                onsets.push_back(t);
            }
            if (!e.isSign() && !sameChord) {
                AddLength(t, e);
                lastNoteX = e.x;
                counted = true;
            }
            m.push_back({static_cast<int>(s), static_cast<int>(i), e.x, e.x});
        }
    }
    if (staves.size() > 1) {
        std::vector<std::size_t> order(m.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return m[a].oldX < m[b].oldX; });
        std::vector<SpacingEntry> byX;
        std::vector<Onset> onsetsByX;
        for (std::size_t k : order) {
            byX.push_back(m[k]);
            onsetsByX.push_back(onsets[k]);
        }
        m = std::move(byX);
        TieSimultaneousNotes(m, onsetsByX, staves, std::max(tolerance, 0));
    }
    std::sort(m.begin(), m.end(), MatrixOrder{staves});
    RestoreStaffOrder(m, staves.size());
    return m;
}

}  // namespace notavera
