// Time slices, articulation gaps and appoggiatura debts of the timing pass.
#include "midi/event_timing.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace notavera {

namespace {

class SliceTimer {
public:
    explicit SliceTimer(int tolerance) : tolerance_(tolerance) {}

    std::vector<PlaybackEvent> run(const std::vector<PlaybackEvent>& in) {
        if (in.empty()) return {};
        out_.reserve(in.size() * 2 + 2);
        shortest_ = in.front().time;
        sliceStart_ = in.front().position;
        for (std::size_t i = 0; i < in.size(); ++i) {
            const PlaybackEvent& r = in[i];
            if (i > 0 && !joinsSlice(in, i))
                openSlice(in, i);
            else
                shortest_ = std::min(shortest_, r.time);
            slice_.push_back(r);
            if (event_kind::isSilent(r.kind))
                silence(r);
            else
                note(r);
        }
        // The staves last until their longest note or rest ends, whichever staff and place it belongs to: a voice
        // that ends early in a bar the others fill with rests must not cut the bar short.
        std::uint32_t end = t_;
        for (const Pending& p : pending_) end = std::max(end, p.time);
        out_.push_back(PlaybackEvent{end, 0, event_kind::filler, 0});
        return std::move(out_);
    }

private:
    // Records of a staff already in the slice join only as members of its chord. Those of another staff join
    // within the tolerance, unless a staff of the slice moves on at that very place: the record then belongs
    // with that staff's next group.
    bool joinsSlice(const std::vector<PlaybackEvent>& in, std::size_t i) const {
        const PlaybackEvent& r = in[i];
        for (const PlaybackEvent& s : slice_)
            if (s.staff == r.staff) return s.group == r.group;
        if (static_cast<long long>(r.position) > static_cast<long long>(sliceStart_) + tolerance_) return false;
        if (r.position == sliceStart_) return true;
        for (std::size_t j = i + 1; j < in.size() && in[j].position == r.position; ++j)
            for (const PlaybackEvent& s : slice_)
                if (s.staff == in[j].staff && s.group != in[j].group) return false;
        return true;
    }

    // The next slice comes where the first note or rest still sounding on one of its own staves ends, or, when its
    // staves have nothing sounding, when the shortest value of this slice ends. A staff that has nothing more to
    // play there (a voice that has ended) does not call the others in early.
    void openSlice(const std::vector<PlaybackEvent>& in, std::size_t i) {
        const PlaybackEvent& r = in[i];
        std::vector<std::int32_t> staves;
        for (std::size_t j = i; j < in.size() && static_cast<long long>(in[j].position) <=
                                                     static_cast<long long>(r.position) + tolerance_;
             ++j)
            if (std::find(staves.begin(), staves.end(), in[j].staff) == staves.end()) staves.push_back(in[j].staff);
        // Every end still to come is an entry point, however close: staves of tuplets of different kinds can meet
        // a tick or two apart, and a note that waited for a later end would lose that time for good.
        std::erase_if(pending_, [this](const Pending& p) { return p.time <= t_; });
        std::optional<std::uint32_t> next;
        for (const Pending& p : pending_)
            if (std::find(staves.begin(), staves.end(), p.staff) != staves.end())
                next = std::min(next.value_or(p.time), p.time);
        t_ = next.value_or(t_ + shortest_);
        shortest_ = r.time;
        sliceStart_ = r.position;
        slice_.clear();
    }

    // A whole-bar rest is heard from its bar's start, where it was collected, wherever it is drawn; a staff whose
    // previous note or rest still sounds there (a voice whose rests straddle the bar lines) starts it when that ends.
    void silence(const PlaybackEvent& r) {
        std::uint32_t start = t_;
        if (r.wholeBar)
            for (const Pending& p : pending_)
                if (p.staff == r.staff) start = std::max(start, p.time);
        out_.push_back(PlaybackEvent{start, 0, event_kind::filler, 0});
        pending_.push_back({start + r.time, r.staff});
    }

    void note(const PlaybackEvent& r) {
        std::uint32_t sounding = r.time;
        if (event_kind::isAppoggiatura(r.kind)) {
            sounding /= 4;
            debt_ += sounding;
            shortest_ = std::min(shortest_, sounding);
        } else if (debt_ > 0) {
            sounding = sounding > debt_ ? sounding - debt_ : 0;
            debt_ = 0;
            shortest_ = std::min(shortest_, sounding);
        }
        pending_.push_back({t_ + sounding, r.staff});
        // Staccato notes lose half their length, appoggiaturas a tenth; a staccato appoggiatura (12) nothing.
        const bool gapped = (r.kind & 3) != 0;
        const std::uint32_t gap = gapped ? sounding / r.kind : 0;
        sounding -= gap;
        if (sounding == 0 && r.tiedOn == 0) {
            // Nothing left to hear: a note-on and note-off at one tick would be sorted off-first and hang.
            out_.push_back(PlaybackEvent{t_, 0, event_kind::filler, 0});
            return;
        }
        const std::uint32_t off = t_ + sounding + r.tiedOn;
        out_.push_back(PlaybackEvent{off, gapped ? noteOffWithGap : 0, event_kind::noteOff, r.key, r.tie});
        out_.push_back(PlaybackEvent{t_, 0, event_kind::noteOn, r.key, r.tie});
    }

    int tolerance_;
    std::uint32_t t_ = 0;
    std::uint32_t shortest_ = 0;
    std::uint32_t debt_ = 0;
    std::int32_t sliceStart_ = 0;
    std::vector<PlaybackEvent> slice_;
    struct Pending {
        std::uint32_t time;
        std::int32_t staff;
    };
    std::vector<Pending> pending_;  // the ends of the notes and rests still sounding, by staff
    std::vector<PlaybackEvent> out_;
};

}  // namespace

std::vector<PlaybackEvent> TimeEvents(std::vector<PlaybackEvent> collected, int tolerance) {
    std::stable_sort(collected.begin(), collected.end(),
                     [](const PlaybackEvent& a, const PlaybackEvent& b) { return a.position < b.position; });
    std::vector<PlaybackEvent> timed = SliceTimer(tolerance).run(collected);
    std::stable_sort(timed.begin(), timed.end(), [](const PlaybackEvent& a, const PlaybackEvent& b) {
        if (a.time != b.time) return a.time < b.time;
        return a.kind == event_kind::noteOff && b.kind != event_kind::noteOff;
    });
    return timed;
}

}  // namespace notavera
