// The collection pass over one staff: durations with the fractional carry, whole-bar rests, keys, ties and
// the marks of appoggiaturas and shortened notes.
#include "midi/event_collection.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "midi/note_key.h"
#include "midi/system_bars.h"
#include "score/accidental_context.h"

namespace notavera {

namespace {

constexpr unsigned chordMemberBit = 18;    // a note of a chord
constexpr unsigned chordStemBit = 19;      // with bit 18: the chord's stem member, drawn last
constexpr unsigned lastPlainCode = 10;     // codes beyond have no plain length (the multi-bar rest's 15)
constexpr double maxTicks = 268435440.0;  // the largest delta time, rounded down to whole 16 ticks
constexpr std::uint32_t maxTickCount = 268435440u;

// The notes of one staff that share an x: a chord, or a single note. Its tie marks may sit on any member,
// since laying out a chord gathers them on its first and last members.
struct NoteGroup {
    struct Member {
        std::uint8_t key = 0;
        std::size_t record = 0;  // the record that sounds the key: the tie's first note for a continuation
    };
    int x = 0;
    bool opensStaff = false;  // no note or rest of the staff comes before it
    bool startsTie = false;
    bool endsTie = false;
    std::vector<Member> members;
};

class StaffCollector {
public:
    StaffCollector(const PageRecord& page, int staffIndex, int transposition, const CollectionSettings& settings,
                   BarMeasure& measure, double& carry, std::vector<PlaybackEvent>& events)
        : staff_(page.staves[staffIndex]), staffIndex_(staffIndex), transposition_(transposition),
          settings_(settings), measure_(measure), carry_(carry), events_(events), bars_(SystemBarLines(page, staffIndex)),
          barStarts_(SystemBarStarts(page, staffIndex, bars_)), notesPerBar_(NotesPerBar(staff_, bars_)) {}

    void run(XRange range) {
        for (const ElementRecord& e : staff_.elements) {
            if (!range.contains(e.x)) continue;
            if (e.isSignOfType(SignType::TimeSignature))
                ApplyMeter(e, settings_.metersAsProportions, measure_);
            else if (!e.isSign())
                add(e);
        }
        closeGroup();
        if (previous_ && previous_->startsTie)
            for (const NoteGroup::Member& m : previous_->members) events_[m.record].tie |= tie_link::toNextLine;
    }

private:
    std::size_t barOf(int x) const { return BarIndex(bars_, x); }

    // Where the element is heard from: its x and fine offset, never before the staff's previous record, so
    // that an offset cannot reorder the notes of a staff. A whole-bar rest is heard where the system first plays in
    // its bar, wherever in the bar it is drawn (centred, as a rule): a staff played with it then keeps its time.
    std::int32_t playedPosition(const ElementRecord& e) {
        std::int32_t pos = HeardX(e);
        if (isWholeBarRest(e) && barStarts_[barOf(e.x)] != INT32_MAX) pos = barStarts_[barOf(e.x)];
        if (lastPosition_) pos = std::max(pos, *lastPosition_);
        lastPosition_ = pos;
        return pos;
    }

    double writtenValue(const ElementRecord& e) const {
        double value = WrittenTicks(e);
        if (measure_.p != measure_.q && settings_.metersAsProportions) value = value * measure_.q / measure_.p;
        return value;
    }

    bool isWholeBarRest(const ElementRecord& e) const { return IsWholeBarRest(e, notesPerBar_[barOf(e.x)]); }

    // Whole ticks of a value; the fraction left is carried to the next note, except after a chord member other
    // than the chord's stem member: a chord takes its time once.
    // A sum a rounding error short of a whole tick counts as that tick: seven 7:4 sixteenths make a quarter on
    // every staff alike, so staves that meet there start the next notes together.
    std::uint32_t takeTicks(double value, bool keepCarry) {
        constexpr double roundingSlack = 1e-6;
        const double sum = value + carry_;
        const double whole = std::floor(sum + roundingSlack);
        if (!keepCarry) carry_ = sum - whole;
        // Lengths beyond what a delta time can carry only come from damaged values; they are capped.
        return whole > 0.0 ? static_cast<std::uint32_t>(std::min(whole, maxTicks)) : 0u;
    }

    void add(const ElementRecord& e) {
        const auto nw = e.noteWord();
        if (nw.durationCode() > lastPlainCode) return;
        const bool wholeBar = isWholeBarRest(e);
        const std::int32_t position = playedPosition(e);
        const double value = wholeBar && IsUndottedWhole(e) ? measure_.barLength : writtenValue(e);
        const bool chordInner = nw.bit(chordMemberBit) && !nw.bit(chordStemBit);
        const std::uint32_t ticks = takeTicks(value, chordInner);
        const std::optional<std::uint8_t> key = e.isRest() ? std::nullopt : NoteKey(e, transposition_);
        if (!key) {
            // A rest parts a tie's notes: what follows it is struck again. A hidden rest only holds a place (after
            // the short notes of a chord whose long note goes on, tied): the tie goes on past it, from the previous
            // line too.
            closeGroup();
            if (!e.w0().hidden()) {
                previous_.reset();
                metNoteOrRest_ = true;
            }
            addRest(ticks, position, e.x, wholeBar);
            return;
        }
        lastWholeBarRest_.reset();
        if (!group_ || group_->x != e.x) {
            closeGroup();
            group_.emplace();
            group_->x = e.x;
            group_->opensStaff = !metNoteOrRest_;
        }
        metNoteOrRest_ = true;
        if (e.w0().tiedToNext()) {
            group_->startsTie = group_->startsTie || e.w0().tieStarts();
            group_->endsTie = group_->endsTie || e.w0().tieEnds();
        }
        // Two notes of one key at one x (a unison of two voices) are one key struck once, held for the longer; the
        // shorter stays as silence, so that the time slice still ends where it ends.
        const auto unison = std::find_if(group_->members.begin(), group_->members.end(),
                                         [&](const NoteGroup::Member& m) { return m.key == *key; });
        if (unison != group_->members.end()) {
            std::uint32_t& held = events_[unison->record].time;
            const std::uint32_t shorter = std::min(held, ticks);
            held = std::max(held, ticks);
            events_.push_back(record(shorter, position, event_kind::rest, 0, e.x));
            return;
        }
        std::uint8_t kind = event_kind::note;
        if (e.w0().cueSize() && settings_.appoggiaturas) kind += event_kind::appoggiatura;
        if (nw.staccato()) kind += event_kind::shortened;
        events_.push_back(record(ticks, position, kind, *key, e.x));
        group_->members.push_back({*key, events_.size() - 1});
    }

    PlaybackEvent record(std::uint32_t ticks, std::int32_t position, std::uint8_t kind, std::uint8_t key,
                         int x) const {
        return PlaybackEvent{ticks, position, kind, key, 0, staffIndex_, x};
    }

    void addRest(std::uint32_t ticks, std::int32_t position, int x, bool wholeBar) {
        // Bars of rest one after the other are one silence.
        if (wholeBar && lastWholeBarRest_) {
            events_[*lastWholeBarRest_].time += ticks;
            return;
        }
        events_.push_back(record(ticks, position, event_kind::rest, 0, x));
        events_.back().wholeBar = wholeBar;
        lastWholeBarRest_ = wholeBar ? std::optional<std::size_t>(events_.size() - 1) : std::nullopt;
    }

    // The group is complete: when it ends a tie, its notes of the keys the group before it tied on are held
    // from there. A tie end with nothing tied on right before it is a slur's end, or a tie from the previous
    // line when the group is the staff's first.
    void closeGroup() {
        if (!group_) return;
        if (group_->endsTie && previous_ && previous_->startsTie) {
            for (NoteGroup::Member& m : group_->members) holdOn(*previous_, m);
        } else if (group_->endsTie && group_->opensStaff) {
            for (const NoteGroup::Member& m : group_->members) events_[m.record].tie |= tie_link::fromPreviousLine;
        }
        previous_ = std::move(group_);
        group_.reset();
    }

    void holdOn(const NoteGroup& from, NoteGroup::Member& m) {
        const auto same = std::find_if(from.members.begin(), from.members.end(),
                                       [&](const NoteGroup::Member& f) { return f.key == m.key; });
        if (same == from.members.end()) return;
        PlaybackEvent& first = events_[same->record];
        PlaybackEvent& continuation = events_[m.record];
        first.tiedOn = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{first.tiedOn} + continuation.time, maxTickCount));
        continuation.kind = event_kind::held;
        m.record = same->record;
    }

    const StaffRecord& staff_;
    int staffIndex_;
    int transposition_;
    const CollectionSettings& settings_;
    BarMeasure& measure_;
    double& carry_;
    std::vector<PlaybackEvent>& events_;
    std::vector<int> bars_;
    std::vector<std::int32_t> barStarts_;
    std::vector<int> notesPerBar_;
    std::optional<std::int32_t> lastPosition_;
    std::optional<std::size_t> lastWholeBarRest_;
    bool metNoteOrRest_ = false;
    std::optional<NoteGroup> group_;     // the group being read
    std::optional<NoteGroup> previous_;  // the group right before it, when no rest parts them
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
                        const CollectionSettings& settings, BarMeasure& measure, double& carry,
                        std::vector<PlaybackEvent>& events) {
    if (staffIndex < 0 || staffIndex >= static_cast<int>(page.staves.size())) return;
    StaffCollector(page, staffIndex, transposition, settings, measure, carry, events).run(range);
}

}  // namespace notavera
