// Alignment of the staves of a block on a common grid of time slots.
#include "render/align_block.h"

#include <algorithm>
#include <climits>
#include <map>

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

// Slots a note or rest lasts, as a fraction so that tuplets add up over their group.
double SlotLength(const ElementRecord& e, int r) {
    const auto nw = e.noteWord();
    const int shift = std::max(r - static_cast<int>(nw.durationCode()), 0);
    double length = static_cast<double>(1 << shift);
    if (nw.dots() == 1) length += length / 2;
    if (nw.dots() >= 2) length += length * 3 / 4;
    const unsigned n = e.w1().numerator();
    const unsigned d = e.w1().denominator();
    if (n >= 1 && d >= 1 && n != d) length = length * d / n;
    return length;
}

// Walks the counted notes of a staff, giving each its slot; chord members and second voices within the tolerance
// of the previous note share its slot.
class SlotWalk {
public:
    SlotWalk(const AlignSettings& s, int r) : s_(s), r_(r) {}

    // Slot of the element (counted notes only), or -1 when it shares the previous note's slot.
    int next(const ElementRecord& e) {
        if (havePrevious_ && e.x - previousX_ <= s_.tolerance) return -1;
        const int slot = static_cast<int>(position_ + 0.01);
        position_ += SlotLength(e, r_);
        previousX_ = e.x;
        havePrevious_ = true;
        return slot;
    }
    // The slot after the last note, counting a fraction of 0.99 as a whole slot.
    int end() const { return static_cast<int>(position_ + 0.01); }

private:
    const AlignSettings& s_;
    int r_;
    double position_ = 0;
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

void Interpolate(std::vector<int>& pos, int from, int to) {
    for (int k = from + 1; k < to; ++k)
        pos[k] = std::max(pos[k - 1], pos[from] + (pos[to] - pos[from]) * (k - from) / (to - from));
}

// Slot positions from the current staff: its notes fix their slots, the slots between are interpolated.
bool BuildGrid(const StaffRecord& staff, std::span<StaffRecord* const> staves, const AlignSettings& s, int r,
               std::vector<int>& pos) {
    const int size = static_cast<int>(pos.size());
    SlotWalk walk(s, r);
    int fixed = -1;
    for (const ElementRecord& e : staff.elements) {
        if (!Counts(e, s)) continue;
        const int slot = walk.next(e);
        if (slot < 0) continue;
        if (slot >= size) return false;
        if (fixed >= 0 && e.x < pos[fixed] + 2 * s.stepUnit) continue;  // too close to fix a slot of its own
        pos[slot] = fixed >= 0 ? std::max(e.x, pos[fixed]) : e.x;
        if (fixed >= 0) Interpolate(pos, fixed, slot);
        fixed = slot;
    }
    if (fixed < 0) return false;
    const int end = std::min(walk.end(), size - 1);
    if (end > fixed) {
        const int perSlot = s.afterRespacing ? s.stepUnit : 3 * s.stepUnit;
        const int bar = LastBarX(staves);
        int endX = bar > pos[fixed] ? bar : pos[fixed] + (end - fixed) * perSlot;
        if (s.lineLength > 0) endX = std::min(endX, std::max(s.lineLength, pos[fixed]));
        pos[end] = endX;
        Interpolate(pos, fixed, end);
        fixed = end;
    }
    for (int k = fixed + 1; k < size; ++k) pos[k] = pos[k - 1] + s.stepUnit;
    return true;
}

// Places one staff on the grid; returns the slot after its last note.
int PlaceStaff(StaffRecord& staff, const AlignSettings& s, int r, const std::vector<int>& pos) {
    SlotWalk walk(s, r);
    int oldAnchor = 0;  // old and new x of the last note placed: other elements keep their distance to it
    int newAnchor = pos.empty() ? 0 : pos[0];
    bool anchored = false;
    const int last = static_cast<int>(pos.size()) - 1;
    for (ElementRecord& e : staff.elements) {
        const int oldX = e.x;
        if (Counts(e, s)) {
            const int slot = walk.next(e);
            if (slot >= 0) {
                const int x = pos[std::min(slot, last)];
                oldAnchor = oldX;
                newAnchor = x;
                anchored = true;
                e.x = x;
                continue;
            }
        }
        e.x = anchored ? newAnchor + (oldX - oldAnchor) : oldX;
    }
    for (std::size_t k = 1; k < staff.elements.size(); ++k)
        staff.elements[k].x = std::max(staff.elements[k].x, staff.elements[k - 1].x);
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
// different places. Bars of the staves that stand just before notes of one slot go to one x: the narrowest of
// their gaps before that slot, which moves bars only to the right, away from the notes they close. Bars that end
// their staves go to the rightmost of them.
void AlignBarLines(std::span<StaffRecord* const> staves, const AlignSettings& s) {
    std::map<int, int> gapBeforeSlot;  // x of a slot → narrowest bar-to-note gap before it
    int lastBar = INT_MIN;
    const auto forEachBar = [&](auto&& beforeNote, auto&& atEnd) {
        for (StaffRecord* staff : staves) {
            auto& els = staff->elements;
            for (std::size_t i = 0; i < els.size(); ++i) {
                if (!els[i].isSignOfType(SignType::Bar)) continue;
                if (i + 1 == els.size()) atEnd(els[i]);
                else if (Counts(els[i + 1], s) && els[i + 1].x > els[i].x) beforeNote(els[i], els[i + 1].x);
            }
        }
    };
    forEachBar(
        [&](const ElementRecord& bar, int slotX) {
            const auto [it, added] = gapBeforeSlot.try_emplace(slotX, slotX - bar.x);
            if (!added) it->second = std::min(it->second, slotX - bar.x);
        },
        [&](const ElementRecord& bar) { lastBar = std::max(lastBar, bar.x); });
    forEachBar([&](ElementRecord& bar, int slotX) { bar.x = slotX - gapBeforeSlot[slotX]; },
               [&](ElementRecord& bar) { bar.x = lastBar; });
}

}  // namespace

AlignResult AlignBlock(std::span<StaffRecord* const> staves, std::size_t current, const AlignSettings& settings) {
    AlignResult result;
    if (current >= staves.size()) return result;
    const int r = Resolution(staves, settings);
    std::size_t mostNotes = 0;
    double mostSlots = 0;
    for (const StaffRecord* staff : staves) {
        std::size_t notes = 0;
        double slots = 0;
        for (const ElementRecord& e : staff->elements) {
            if (!Counts(e, settings)) continue;
            ++notes;
            slots += SlotLength(e, r);
        }
        mostNotes = std::max(mostNotes, notes);
        mostSlots = std::max(mostSlots, slots);
    }
    if (mostNotes + 1 == 1) return result;
    const int s = static_cast<int>(mostSlots + 0.01);
    std::vector<int> pos(static_cast<std::size_t>(s + s / 10 + 10), 0);

    StaffRecord& lead = *staves[current];
    CommonStart(staves, lead, settings);
    if (!BuildGrid(lead, staves, settings, r, pos)) return result;
    SlotWalk leadWalk(settings, r);
    for (const ElementRecord& e : lead.elements)
        if (Counts(e, settings)) leadWalk.next(e);
    const int endSlot = leadWalk.end();
    for (std::size_t k = 0; k < staves.size(); ++k) {
        if (PlaceStaff(*staves[k], settings, r, pos) != endSlot) result.unfinished.push_back(static_cast<int>(k));
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
