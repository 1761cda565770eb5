// Alignment of the staves of a block on a common grid of time slots.
#include "render/align_block.h"

#include <algorithm>
#include <climits>
#include <compare>
#include <cstdint>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <utility>

#include "render/note_geometry.h"
#include "score/records.h"

namespace notavera {

namespace {

bool Counts(const ElementRecord& e, const AlignSettings& s) {
    if (e.isSign() || e.noteWord().durationCode() > 10) return false;
    return s.cueAsFull || !e.w0().cueSize();
}

// The grid's resolution: the shortest value present, finer for its dots and for tuplets.
int Resolution(std::span<StaffRecord* const> staves, const AlignSettings& s) {
    int r = 0;
    unsigned lastDots = 0;
    bool proportion = false;
    for (const StaffRecord* staff : staves) {
        for (const ElementRecord& e : staff->elements) {
            if (!Counts(e, s)) continue;
            const int code = static_cast<int>(e.noteWord().durationCode());
            if (code >= r) {
                r = code;
                lastDots = e.noteWord().dots();
            }
            if (e.w1().numerator() != e.w1().denominator()) proportion = true;
        }
    }
    r += static_cast<int>(std::min(lastDots, 2u));
    if (proportion) r += 5;
    return std::min(r, 10);
}

// A time from the start of the line, exact: tuplets of different proportions on different staves still meet where
// the music meets. The unit is a quarter of a 256th, so that dotted values stay whole.
class SlotTime {
public:
    SlotTime() = default;
    SlotTime(std::int64_t num, std::int64_t den) : num_(num), den_(den) { reduce(); }

    SlotTime operator+(const SlotTime& o) const {
        const std::int64_t g = std::gcd(den_, o.den_);
        const __int128 num = static_cast<__int128>(num_) * (o.den_ / g) + static_cast<__int128>(o.num_) * (den_ / g);
        const __int128 den = static_cast<__int128>(den_) * (o.den_ / g);
        return FromWide(num, den);
    }
    SlotTime operator-(const SlotTime& o) const { return *this + SlotTime(-o.num_, o.den_); }
    auto operator<=>(const SlotTime& o) const {
        return static_cast<__int128>(num_) * o.den_ <=> static_cast<__int128>(o.num_) * den_;
    }
    bool operator==(const SlotTime& o) const = default;
    double value() const { return static_cast<double>(num_) / static_cast<double>(den_); }

private:
    // Denominators only grow with many different tuplets on one line; far beyond any real one the time is rounded.
    static constexpr __int128 finestDenominator = std::int64_t{1} << 40;

    static SlotTime FromWide(__int128 num, __int128 den) {
        __int128 a = num < 0 ? -num : num, b = den;
        while (b != 0) a = std::exchange(b, a % b);
        if (a > 1) {
            num /= a;
            den /= a;
        }
        if (den > finestDenominator) {
            num = num * finestDenominator / den;
            den = finestDenominator;
        }
        return SlotTime(static_cast<std::int64_t>(num), static_cast<std::int64_t>(den));
    }
    void reduce() {
        if (den_ < 0) {
            num_ = -num_;
            den_ = -den_;
        }
        const std::int64_t g = std::gcd(num_, den_);
        if (g > 1) {
            num_ /= g;
            den_ /= g;
        }
    }

    std::int64_t num_ = 0;
    std::int64_t den_ = 1;
};

// How long a note or rest lasts: its value, its dots and its proportion.
SlotTime Length(const ElementRecord& e) {
    const auto nw = e.noteWord();
    std::int64_t length = std::int64_t{1024 >> std::min(nw.durationCode(), 10u)} * 4;
    if (nw.dots() == 1) length = length * 3 / 2;
    if (nw.dots() >= 2) length = length * 7 / 4;
    const unsigned n = e.w1().numerator();
    const unsigned d = e.w1().denominator();
    if (n >= 1 && d >= 1 && n != d) return SlotTime(length * d, n);
    return SlotTime(length, 1);
}

// The length of one slot of resolution r: the value of code r.
SlotTime SlotOf(int r) { return SlotTime(std::int64_t{1024 >> std::clamp(r, 0, 10)} * 4, 1); }

// Walks the counted notes of a staff, giving each group its time; chord members and second voices within the
// tolerance of the group's first note share its time, and the staff goes on when the group's shortest value ends,
// as playback hears it.
class SlotWalk {
public:
    explicit SlotWalk(const AlignSettings& s) : s_(s) {}

    // Time of the element (counted notes only), or nothing when it shares the previous note's time.
    std::optional<SlotTime> next(const ElementRecord& e) {
        const SlotTime length = Length(e);
        if (havePrevious_ && e.x - previousX_ <= s_.tolerance) {
            shortest_ = std::min(shortest_, length);
            return std::nullopt;
        }
        if (havePrevious_) start_ = start_ + shortest_;
        shortest_ = length;
        previousX_ = e.x;
        havePrevious_ = true;
        return start_;
    }
    // The time after the last note.
    SlotTime end() const { return havePrevious_ ? start_ + shortest_ : start_; }

private:
    const AlignSettings& s_;
    SlotTime start_;
    SlotTime shortest_;
    int previousX_ = 0;
    bool havePrevious_ = false;
};

int LastBarX(std::span<StaffRecord* const> staves) {
    int x = -1;
    for (const StaffRecord* staff : staves)
        for (const ElementRecord& e : staff->elements)
            if (e.isSignOfType(SignType::Bar)) x = std::max(x, e.x);
    return x;
}

// Every time of the block at which a note or rest begins or a staff ends, with the x it is given.
using Grid = std::map<SlotTime, int>;

// The times strictly between `from` and `to` get x by their share of the time between, never moving left. They are
// spread up to `aim` (a bar line standing before `to`), or else up to `to` itself.
void Interpolate(Grid::iterator from, Grid::iterator to, std::optional<int> aim = std::nullopt) {
    const double span = (to->first - from->first).value();
    const int until = std::max(from->second, aim.value_or(to->second));
    int previous = from->second;
    for (auto it = std::next(from); it != to; ++it) {
        const double share = span > 0 ? (it->first - from->first).value() / span : 0.0;
        it->second = std::max(previous, from->second + static_cast<int>((until - from->second) * share));
        previous = it->second;
    }
}

// Positions from the current staff: its notes fix the x of their times, the times between are interpolated.
bool BuildGrid(const StaffRecord& staff, std::span<StaffRecord* const> staves, const AlignSettings& s, int r,
               Grid& grid) {
    SlotWalk walk(s);
    std::optional<Grid::iterator> fixed;
    std::optional<int> bar;  // a bar line since the last fixed time: the music of other staves ends the bar before it
    std::map<SlotTime, int> barRoom;  // the times that open a bar: how far the bar line stands before them
    for (const ElementRecord& e : staff.elements) {
        if (e.isSignOfType(SignType::Bar) && fixed) bar = e.x;
        if (!Counts(e, s)) continue;
        const std::optional<SlotTime> time = walk.next(e);
        if (!time) continue;
        if (fixed && e.x < (*fixed)->second + 2 * s.stepUnit) continue;  // too close to fix a time of its own
        const auto it = grid.find(*time);
        it->second = fixed ? std::max(e.x, (*fixed)->second) : e.x;
        if (fixed) Interpolate(*fixed, it, bar);
        if (bar) barRoom[*time] = e.x - *bar;
        fixed = it;
        bar.reset();
    }
    if (!fixed) return false;
    const SlotTime slot = SlotOf(r);
    const auto slotsFrom = [&slot](const SlotTime& a, const SlotTime& b) { return (b - a).value() / slot.value(); };
    const auto end = grid.find(walk.end());
    if (end->first > (*fixed)->first) {
        const int perSlot = s.afterRespacing ? s.stepUnit : 3 * s.stepUnit;
        const int bar = LastBarX(staves);
        const int fixedX = (*fixed)->second;
        int endX = bar > fixedX
                       ? bar
                       : fixedX + static_cast<int>(slotsFrom((*fixed)->first, end->first) * perSlot);
        if (s.lineLength > 0) endX = std::min(endX, std::max(s.lineLength, fixedX));
        end->second = endX;
        Interpolate(*fixed, end);
        fixed = end;
    }
    for (auto it = std::next(*fixed), before = *fixed; it != grid.end(); before = it++)
        it->second = before->second + std::max(1, static_cast<int>(slotsFrom(before->first, it->first) * s.stepUnit));
    // Music of different times never stands closer than the shortest advance of the spacing: interpolated between
    // two far notes of the current staff, a short value of another staff would otherwise come so near the next time
    // that the eye, and playback, take the two for one.
    // A time that opens a bar leaves room for its bar line as well.
    const int apart = 3 * s.stepUnit;
    for (auto it = std::next(grid.begin()), before = grid.begin(); it != grid.end(); before = it++) {
        const auto room = barRoom.find(it->first);
        it->second = std::max(it->second, before->second + apart + (room != barRoom.end() ? room->second : 0));
    }
    return true;
}

// A clef, key or time signature that a staff changes between two of its notes, grace notes that take no time, or the
// accidentals of a note, keep the room they had there: when the grid brings the two notes' times closer, the times
// from the later one on move right by what is missing.
void MakeRoomForSigns(std::span<StaffRecord* const> staves, const AlignSettings& s, Grid& grid) {
    for (const StaffRecord* staff : staves) {
        const auto& els = staff->elements;
        SlotWalk walk(s);
        std::optional<std::pair<SlotTime, int>> previous;  // the time and old x of the last note that took a time
        bool signSince = false;
        for (std::size_t k = 0; k < els.size(); ++k) {
            const ElementRecord& e = els[k];
            if (e.isSignOfType(SignType::Clef) || e.isSignOfType(SignType::KeyChange) ||
                e.isSignOfType(SignType::TimeSignature) || (!e.isSign() && !Counts(e, s))) {
                signSince = previous.has_value();
                continue;
            }
            if (!Counts(e, s)) continue;
            const std::optional<SlotTime> time = walk.next(e);
            if (!time) continue;
            // Any note of the chord may carry the accidental.
            bool accidental = false;
            for (std::size_t j = k; j < els.size() && els[j].x == e.x; ++j)
                accidental = accidental || HasDrawnAccidental(els[j]);
            if (previous && (signSince || accidental)) {
                const auto it = grid.find(*time);
                int missing = (e.x - previous->second) - (it->second - grid.at(previous->first));
                // The accidental also clears the notes other staves have at the time just before: a note's own
                // distance and the width of a sharp.
                if (accidental && it != grid.begin())
                    missing = std::max(missing, std::prev(it)->second + 5 * s.stepUnit - it->second);
                if (missing > 0)
                    for (auto later = it; later != grid.end(); ++later) later->second += missing;
            }
            previous = {{*time, e.x}};
            signSince = false;
        }
    }
}

// The times at which the notes of a staff begin, and the time it ends.
void AddTimes(const StaffRecord& staff, const AlignSettings& s, Grid& grid) {
    SlotWalk walk(s);
    for (const ElementRecord& e : staff.elements)
        if (Counts(e, s))
            if (const auto time = walk.next(e)) grid.emplace(*time, 0);
    grid.emplace(walk.end(), 0);
}

// Places one staff on the grid; returns the time after its last note. A note that shares the time of the note before
// it keeps its distance to it; any other element keeps its distance to the note before it, but stands no nearer to
// the note after it than it did: the bar line and time signature that open a bar stay in front of its first note.
SlotTime PlaceStaff(StaffRecord& staff, const AlignSettings& s, const Grid& grid) {
    auto& els = staff.elements;
    const std::size_t n = els.size();
    std::vector<int> oldX(n);
    std::vector<std::optional<int>> placed(n);  // the new x of the notes that take a time of the grid
    SlotWalk walk(s);
    for (std::size_t k = 0; k < n; ++k) {
        oldX[k] = els[k].x;
        if (!Counts(els[k], s)) continue;
        if (const auto time = walk.next(els[k])) placed[k] = grid.at(*time);
    }
    std::vector<std::size_t> nextPlaced(n + 1, n);  // the first note placed on the grid from k on; n for none
    for (std::size_t k = n; k-- > 0;) nextPlaced[k] = placed[k] ? k : nextPlaced[k + 1];
    std::optional<std::size_t> anchor;  // the last note placed on the grid
    for (std::size_t k = 0; k < n; ++k) {
        if (placed[k]) {
            els[k].x = *placed[k];
            anchor = k;
            continue;
        }
        int x = anchor ? els[*anchor].x + (oldX[k] - oldX[*anchor]) : oldX[k];
        const bool memberOfAnchor = anchor && Counts(els[k], s);
        const std::size_t next = nextPlaced[k];
        if (next < n && !memberOfAnchor) x = std::min(x, *placed[next] - (oldX[next] - oldX[k]));
        els[k].x = x;
    }
    for (std::size_t k = 1; k < n; ++k) els[k].x = std::max(els[k].x, els[k - 1].x);
    return walk.end();
}

int FirstCountedX(const StaffRecord& staff, const AlignSettings& s) {
    for (const ElementRecord& e : staff.elements)
        if (Counts(e, s)) return e.x;
    return -1;
}

// Staves start together: the current staff's music moves right to the latest first note of the block.
void CommonStart(std::span<StaffRecord* const> staves, StaffRecord& current, const AlignSettings& s) {
    int latest = -1;
    for (const StaffRecord* staff : staves) latest = std::max(latest, FirstCountedX(*staff, s));
    const int first = FirstCountedX(current, s);
    if (first < 0 || latest <= first) return;
    auto& els = current.elements;
    std::size_t from = 0;
    while (from < els.size() && !Counts(els[from], s)) ++from;
    if (from > 0 && els[from - 1].isSignOfType(SignType::TimeSignature)) --from;
    for (std::size_t k = from; k < els.size(); ++k) els[k].x += latest - first;
}

// A placed bar line keeps its distance to the note before it, so the staves of a block would end the same bar at
// different places. Bars of the staves that stand before notes of one slot go to one x: the rightmost of them, which
// moves bars only to the right, away from the notes they close. The signs between a bar and its slot (a time, key or
// clef change) move with their bar; where that would bring them nearer the slot's notes than a clef may stand, or
// than they stood when nearer still, the music from the slot on moves right on every staff to keep their room. Bars
// that end their staves go to the rightmost of them.
void AlignBarLines(std::span<StaffRecord* const> staves, const AlignSettings& s) {
    struct BarRun {
        std::vector<ElementRecord>* els;
        std::size_t bar;
        std::size_t end;   // one past the last sign that moves with the bar
        std::size_t note;  // the slot's note on this staff
        int tail() const { return (*els)[note].x - (*els)[end - 1].x; }  // from the last sign of the run to the slot
    };
    std::map<int, std::vector<BarRun>> slots;  // the runs before each slot, by the slot's x when they were found
    for (StaffRecord* staff : staves) {
        auto& els = staff->elements;
        for (std::size_t i = 0; i < els.size(); ++i) {
            if (!els[i].isSignOfType(SignType::Bar)) continue;
            std::size_t next = i + 1;
            while (next < els.size() && els[next].isSign() && !els[next].isSignOfType(SignType::Bar)) ++next;
            if (next == els.size() || !Counts(els[next], s) || els[next].x <= els[i].x) continue;
            std::size_t end = i + 1;
            while (end < next && els[end].x < els[next].x) ++end;
            const BarRun run{&els, i, end, next};
            if (run.tail() > 0) slots[els[next].x].push_back(run);
        }
    }
    const int clefRoom = 7 * s.stepUnit;  // from a clef's start to the next note
    for (const auto& [slotX, runs] : slots) {
        int rightmost = INT_MIN, narrowest = INT_MAX;
        for (const BarRun& run : runs) {
            rightmost = std::max(rightmost, (*run.els)[run.bar].x);
            narrowest = std::min(narrowest, run.tail());
        }
        int missing = 0;
        for (const BarRun& run : runs) {
            const int tail = run.tail();
            const int room = std::min(tail, run.end - run.bar > 1 ? std::max(narrowest, clefRoom) : narrowest);
            missing = std::max(missing, room - (tail - (rightmost - (*run.els)[run.bar].x)));
        }
        if (missing > 0) {
            const int from = (*runs.front().els)[runs.front().note].x;
            for (StaffRecord* staff : staves)
                for (ElementRecord& e : staff->elements)
                    if (e.x >= from) e.x += missing;
        }
        for (const BarRun& run : runs) {
            auto& els = *run.els;
            const int move = rightmost - els[run.bar].x;
            for (std::size_t k = run.bar; k < run.end; ++k) els[k].x += move;
        }
    }
    int lastBar = INT_MIN;
    for (StaffRecord* staff : staves)
        if (!staff->elements.empty() && staff->elements.back().isSignOfType(SignType::Bar))
            lastBar = std::max(lastBar, staff->elements.back().x);
    for (StaffRecord* staff : staves)
        if (!staff->elements.empty() && staff->elements.back().isSignOfType(SignType::Bar))
            staff->elements.back().x = lastBar;
}

}  // namespace

AlignResult AlignBlock(std::span<StaffRecord* const> staves, std::size_t current, const AlignSettings& settings) {
    AlignResult result;
    if (current >= staves.size()) return result;
    const int r = Resolution(staves, settings);
    std::size_t mostNotes = 0;
    for (const StaffRecord* staff : staves)
        mostNotes = std::max(mostNotes, static_cast<std::size_t>(std::count_if(
                                            staff->elements.begin(), staff->elements.end(),
                                            [&settings](const ElementRecord& e) { return Counts(e, settings); })));
    if (mostNotes == 0) return result;

    StaffRecord& lead = *staves[current];
    CommonStart(staves, lead, settings);
    Grid grid;
    for (const StaffRecord* staff : staves) AddTimes(*staff, settings, grid);
    if (!BuildGrid(lead, staves, settings, r, grid)) return result;
    MakeRoomForSigns(staves, settings, grid);
    SlotWalk leadWalk(settings);
    for (const ElementRecord& e : lead.elements)
        if (Counts(e, settings)) leadWalk.next(e);
    const SlotTime endTime = leadWalk.end();
    for (std::size_t k = 0; k < staves.size(); ++k) {
        if (PlaceStaff(*staves[k], settings, grid) != endTime) result.unfinished.push_back(static_cast<int>(k));
    }
    AlignBarLines(staves, settings);
    result.aligned = true;
    return result;
}

std::string UnfinishedStavesText(std::span<StaffRecord* const> staves, const std::vector<int>& unfinished) {
    std::string text;
    for (int k : unfinished) {
        if (k < 0 || static_cast<std::size_t>(k) >= staves.size()) continue;
        const auto v = staves[static_cast<std::size_t>(k)]->voice();
        text += "{" + std::to_string(v.voice()) + "," + std::to_string(v.positionInGroup()) + "} ";
    }
    return text;
}

}  // namespace notavera
