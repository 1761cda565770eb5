// Beaming notes by the beat.
#include "edit/automatic_beams.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "score/durations.h"

namespace notavera {

namespace {

constexpr unsigned eighthCode = 5;
constexpr double quarter = 64;  // 256ths
constexpr double dottedQuarter = 96;

// The notes and rests standing at one x, with the bar and the beat they start in.
struct Event {
    int first;
    int last;
    int bar;
    long beat;
    bool beamable;
};

double Length(const ElementRecord& e) {
    const auto w1 = e.w1();
    const double num = std::max(1u, w1.numerator());
    const double den = std::max(1u, w1.denominator());
    return NoteDuration(e.noteWord().durationCode(), e.noteWord().dots()) * den / num;
}

bool Beamable(const ElementRecord& e) {
    const unsigned code = e.noteWord().durationCode();
    return e.isNote() && code >= eighthCode && code <= shortestDurationCode && !e.w0().inBeam();
}

double BeatOf(const ElementRecord& meter) {
    const unsigned num = meter.w1().numerator();
    return meter.w1().denominator() == 8 && (num == 6 || num == 9 || num == 12) ? dottedQuarter : quarter;
}

// The events of the staff. A chord's notes share the value of its first note.
std::vector<Event> EventsOf(const StaffRecord& staff) {
    std::vector<Event> events;
    double beat = quarter;
    double time = 0;
    int bar = 0;
    const int count = static_cast<int>(staff.elements.size());
    for (int i = 0; i < count;) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (e.isSign()) {
            if (e.isSignOfType(SignType::TimeSignature)) beat = BeatOf(e);
            if (e.isSignOfType(SignType::Bar) || e.isSignOfType(SignType::TimeSignature)) {
                time = 0;
                ++bar;
            }
            ++i;
            continue;
        }
        Event event{i, i, bar, static_cast<long>(std::floor(time / beat + 1e-9)), Beamable(e)};
        while (event.last + 1 < count) {
            const ElementRecord& next = staff.elements[static_cast<std::size_t>(event.last + 1)];
            if (next.isSign() || next.x != e.x) break;
            ++event.last;
        }
        time += Length(e);
        events.push_back(event);
        i = event.last + 1;
    }
    return events;
}

void Beam(StaffRecord& staff, const Event& from, const Event& to) {
    for (int i = from.first; i <= to.last; ++i) {
        const auto w0 = staff.elements[static_cast<std::size_t>(i)].w0();
        w0.setInBeam(true);
        w0.setOpensBeam(i <= from.last);
        w0.setClosesBeam(i >= to.first);
    }
}

}  // namespace

int BeamByBeats(StaffRecord& staff, int first, int last) {
    const std::vector<Event> events = EventsOf(staff);
    const auto joins = [&](const Event& e, const Event& start) {
        return e.beamable && e.first >= first && e.last <= last && e.bar == start.bar && e.beat == start.beat;
    };
    int groups = 0;
    for (std::size_t i = 0; i < events.size();) {
        std::size_t j = i;
        while (j < events.size() && joins(events[j], events[i])) ++j;
        if (j > i + 1) {
            Beam(staff, events[i], events[j - 1]);
            ++groups;
        }
        i = std::max(j, i + 1);
    }
    return groups;
}

}  // namespace notavera
