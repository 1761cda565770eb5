// The collection pass over one staff: durations with the fractional carry, whole-bar rests, keys, ties,
// small-note groups and the marks of appoggiaturas and shortened notes.
#include "midi/event_collection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "midi/note_key.h"
#include "score/accidental_context.h"

namespace notavera {

namespace {

constexpr unsigned stemBit = 14;           // compared between tied notes: another voice on the same staff
constexpr unsigned smallNoteBit = 18;      // a note of a small-note group
constexpr unsigned smallGroupEndBit = 19;  // with bit 18: the note that closes its group
constexpr std::uint8_t removedKind = 0xFF; // a record merged into an earlier one, dropped at the staff's end
constexpr unsigned lastPlainCode = 10;     // codes beyond have no plain length (the multi-bar rest's 15)
constexpr unsigned wholeCode = 2;
constexpr float maxTicks = 268435440.0f;  // the largest float below the largest delta time

// The staves of the system that holds staff i, by the position and size its voice word records.
std::pair<int, int> systemOf(const PageRecord& page, int i) {
    const auto voice = page.staves[i].voice();
    const int last = static_cast<int>(page.staves.size()) - 1;
    if (voice.positionInGroup() == 0) return {i, i};
    const int first = std::max(0, i - static_cast<int>(voice.positionInGroup()) + 1);
    return {first, std::clamp(first + static_cast<int>(voice.groupSize()) - 1, i, last)};
}

// Bar positions of the staff's whole system, sorted: a bar drawn on one staff divides them all.
std::vector<int> systemBars(const PageRecord& page, int staffIndex) {
    const auto [first, last] = systemOf(page, staffIndex);
    std::vector<int> bars;
    for (int s = first; s <= last; ++s)
        for (const ElementRecord& e : page.staves[s].elements)
            if (DividesBars(e)) bars.push_back(e.x);
    std::sort(bars.begin(), bars.end());
    return bars;
}

struct OpenTie {
    std::size_t index = 0;
    bool mergeable = false;  // the note carries the tie and tie-start bits
    bool stem = false;
    std::int32_t position = 0;
};

class StaffCollector {
public:
    StaffCollector(const PageRecord& page, int staffIndex, int transposition, const CollectionSettings& settings,
                   BarMeasure& measure, std::vector<PlaybackEvent>& events)
        : staff_(page.staves[staffIndex]), transposition_(transposition), settings_(settings), measure_(measure),
          events_(events), staffStart_(events.size()), bars_(systemBars(page, staffIndex)),
          notesPerBar_(bars_.size() + 1, 0) {
        for (const ElementRecord& e : staff_.elements)
            if (!e.isSign()) ++notesPerBar_[barOf(e.x)];
    }

    void run(XRange range) {
        for (const ElementRecord& e : staff_.elements) {
            if (!range.contains(e.x)) continue;
            if (e.isSignOfType(SignType::TimeSignature))
                ApplyMeter(e, settings_.metersAsProportions, measure_);
            else if (!e.isSign())
                add(e);
        }
        events_.erase(std::remove_if(events_.begin() + static_cast<std::ptrdiff_t>(staffStart_), events_.end(),
                                     [](const PlaybackEvent& r) { return r.kind == removedKind; }),
                      events_.end());
    }

private:
    std::size_t barOf(int x) const {
        return static_cast<std::size_t>(std::upper_bound(bars_.begin(), bars_.end(), x) - bars_.begin());
    }

    bool hasRecordOnStaff() const { return events_.size() > staffStart_; }

    // A note close enough after the previous one is heard with it.
    std::int32_t snappedPosition(const ElementRecord& e) const {
        const std::int64_t played = std::int64_t{e.x} + e.shift;
        const auto pos = static_cast<std::int32_t>(std::clamp<std::int64_t>(played, INT32_MIN, INT32_MAX));
        if (!hasRecordOnStaff()) return pos;
        const std::int32_t prev = events_.back().position;
        return pos >= prev && std::int64_t{pos} <= std::int64_t{prev} + settings_.horizontalTolerance ? prev : pos;
    }

    float writtenValue(const ElementRecord& e) const {
        const auto nw = e.noteWord();
        float value = std::ldexp(256.0f, 4 - static_cast<int>(nw.durationCode()));
        if (nw.dots() == 1) value *= 1.5f;
        if (nw.dots() >= 2) value *= 1.75f;
        const unsigned n = e.w1().numerator(), m = e.w1().denominator();
        if (n != m && n != 0 && m != 0) value = value * static_cast<float>(m) / static_cast<float>(n);
        if (measure_.p != measure_.q && settings_.metersAsProportions)
            value = value * static_cast<float>(measure_.q) / static_cast<float>(measure_.p);
        return value;
    }

    bool isWholeBarRest(const ElementRecord& e) const {
        return e.isRest() && e.noteWord().durationCode() <= wholeCode && notesPerBar_[barOf(e.x)] == 1;
    }

    // Whole ticks of a value; the fraction left is carried to the next note, except after a small note that
    // does not close its group.
    std::uint32_t takeTicks(float value, bool keepCarry) {
        const float sum = value + carry_;
        const float whole = std::trunc(sum);
        if (!keepCarry) carry_ = sum - whole;
        // Lengths beyond what a delta time can carry only come from damaged values; they are capped.
        return whole > 0.0f ? static_cast<std::uint32_t>(std::min(whole, maxTicks)) : 0u;
    }

    void add(const ElementRecord& e) {
        const auto nw = e.noteWord();
        if (nw.durationCode() > lastPlainCode) return;
        const std::int32_t position = snappedPosition(e);
        const bool small = nw.bit(smallNoteBit);
        const bool wholeBar = isWholeBarRest(e);
        const float value = wholeBar && nw.durationCode() == wholeCode && nw.dots() == 0 ? measure_.barLength
                                                                                         : writtenValue(e);
        const std::uint32_t ticks = takeTicks(value, small && !nw.bit(smallGroupEndBit));
        const std::optional<std::uint8_t> key = e.isRest() ? std::nullopt : NoteKey(e, transposition_);
        if (!key) {
            addRest(ticks, position, wholeBar);
            return;
        }
        lastWholeBarRest_.reset();
        std::uint8_t kind = event_kind::note;
        if (e.w0().cueSize() && settings_.appoggiaturas) kind += event_kind::appoggiatura;
        bool shortened = nw.staccato();
        if (small) {
            push(PlaybackEvent{ticks, position, kind, *key}, shortened);
            smallGroup(e);
            return;
        }
        if (e.w0().tiedToNext()) {
            const TieOutcome tie = applyTie(e, *key, ticks, position);
            if (tie == TieOutcome::Merged) return;
            shortened = shortened || tie == TieOutcome::Unmatched;
        }
        push(PlaybackEvent{ticks, position, kind, *key}, shortened);
        if (pendingTie_) {
            openTies_[*key] = OpenTie{events_.size() - 1, pendingTie_->mergeable, pendingTie_->stem, position};
            pendingTie_.reset();
        }
    }

    void addRest(std::uint32_t ticks, std::int32_t position, bool wholeBar) {
        // Bars of rest one after the other are one silence.
        if (wholeBar && lastWholeBarRest_) {
            events_[*lastWholeBarRest_].time += ticks;
            return;
        }
        events_.push_back(PlaybackEvent{ticks, position, event_kind::rest, 0});
        lastWholeBarRest_ = wholeBar ? std::optional<std::size_t>(events_.size() - 1) : std::nullopt;
    }

    void push(PlaybackEvent r, bool shortened) {
        if (shortened) r.kind += event_kind::shortened;
        events_.push_back(r);
    }

    enum class TieOutcome { Recorded, Merged, Unmatched };

    // Tied notes are followed per key, so that every note of a tied chord finds its own start. A note that
    // ends a tie joins the open start of its key; one that also starts a tie keeps that start open, so a
    // chain of tied notes sounds once.
    TieOutcome applyTie(const ElementRecord& e, std::uint8_t key, std::uint32_t ticks, std::int32_t position) {
        const bool ends = e.w0().tieEnds(), starts = e.w0().tieStarts();
        const bool stem = e.noteWord().bit(stemBit);
        std::optional<OpenTie>& open = openTies_[key];
        if (ends && open && open->mergeable) {
            events_[open->index].time += ticks;
            return TieOutcome::Merged;
        }
        if (ends && !starts) return TieOutcome::Unmatched;
        if (starts) {
            pendingTie_ = OpenTie{0, true, stem, position};
        } else if (!open || (open->position != position && open->stem == stem)) {
            // A tied note that neither starts nor ends a tie takes the key's place, unless it is a chord
            // partner of the open start or belongs to the other voice of the staff.
            pendingTie_ = OpenTie{0, false, stem, position};
        }
        return TieOutcome::Recorded;
    }

    // A small note that starts a tie opens a group; the one with bit 19 that ends a tie closes it, and every
    // later note of the group that repeats an earlier key is held on as that earlier note.
    void smallGroup(const ElementRecord& e) {
        const bool starts = e.w0().tieStarts(), ends = e.w0().tieEnds();
        const bool closer = e.noteWord().bit(smallGroupEndBit);
        if (!closer && starts && !ends) {
            smallGroupStart_ = events_.size() - 1;
            return;
        }
        if (!closer || !ends || starts || !smallGroupStart_) return;
        for (std::size_t i = *smallGroupStart_ + 1; i < events_.size(); ++i) {
            PlaybackEvent& later = events_[i];
            if (event_kind::isRest(later.kind) || later.kind == removedKind || later.time == 0) continue;
            for (std::size_t j = *smallGroupStart_; j < i; ++j) {
                PlaybackEvent& earlier = events_[j];
                if (earlier.kind == removedKind || event_kind::isRest(earlier.kind) || earlier.key != later.key)
                    continue;
                earlier.time += later.time;
                later.kind = removedKind;
                break;
            }
        }
        smallGroupStart_.reset();
    }

    const StaffRecord& staff_;
    int transposition_;
    const CollectionSettings& settings_;
    BarMeasure& measure_;
    std::vector<PlaybackEvent>& events_;
    std::size_t staffStart_;
    std::vector<int> bars_;
    std::vector<int> notesPerBar_;
    float carry_ = 0.0f;
    std::optional<std::size_t> lastWholeBarRest_;
    std::array<std::optional<OpenTie>, 128> openTies_{};
    std::optional<OpenTie> pendingTie_;
    std::optional<std::size_t> smallGroupStart_;
};

}  // namespace

std::optional<std::uint8_t> NoteKey(const ElementRecord& note, int transposition) {
    std::optional<int> key = MidiKeyOfNote(note, transposition);
    if (!key) return std::nullopt;
    while (*key < 0) *key += 12;
    while (*key > 127) *key -= 12;
    return static_cast<std::uint8_t>(*key);
}

void CollectStaffEvents(const PageRecord& page, int staffIndex, XRange range, int transposition,
                        const CollectionSettings& settings, BarMeasure& measure, std::vector<PlaybackEvent>& events) {
    if (staffIndex < 0 || staffIndex >= static_cast<int>(page.staves.size())) return;
    StaffCollector(page, staffIndex, transposition, settings, measure, events).run(range);
}

}  // namespace notavera
