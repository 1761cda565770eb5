// Centring rests in their bar and bringing them to their standard height.
#include "edit/rest_centring.h"

#include <algorithm>
#include <climits>
#include <map>
#include <numeric>

#include "midi/meter_rules.h"
#include "midi/system_bars.h"
#include "score/clef_values.h"
#include "score/score_document.h"

namespace notavera {

namespace {

bool IsBar(const ElementRecord& e) { return e.isSignOfType(SignType::Bar); }
bool IsNoteOrRest(const ElementRecord& e) { return !e.isSign(); }

constexpr unsigned wholeCode = 2;

// The index of the bar line that closes the bar of element i when i is the only note or rest of that bar;
// −1 otherwise.
int ClosingBarOfLoneRest(const std::vector<ElementRecord>& elements, int i) {
    for (int k = i - 1; k >= 0 && !IsBar(elements[static_cast<std::size_t>(k)]); --k)
        if (IsNoteOrRest(elements[static_cast<std::size_t>(k)])) return -1;
    for (int k = i + 1; k < static_cast<int>(elements.size()); ++k) {
        const ElementRecord& e = elements[static_cast<std::size_t>(k)];
        if (IsBar(e)) return k;
        if (IsNoteOrRest(e)) return -1;
    }
    return -1;
}

// Indices first..last cut to the staff.
std::pair<int, int> Clamped(const StaffRecord& staff, int first, int last) {
    return {std::max(first, 0), std::min(last, static_cast<int>(staff.elements.size()) - 1)};
}

}  // namespace

int CentreBarRests(StaffRecord& staff, int first, int last, int halfWidth) {
    auto& elements = staff.elements;
    const auto [from, to] = Clamped(staff, first, last);
    int moved = 0;
    for (int i = std::max(from, 1); i <= to; ++i) {
        ElementRecord& rest = elements[static_cast<std::size_t>(i)];
        if (!rest.isRest()) continue;
        const int bar = ClosingBarOfLoneRest(elements, i);
        if (bar < 0) continue;
        const int left = elements[static_cast<std::size_t>(i - 1)].x;
        const int right = elements[static_cast<std::size_t>(bar)].x;
        const int next = elements[static_cast<std::size_t>(i + 1)].x;
        const int x = std::clamp((left + right) / 2 - halfWidth, left, next);
        if (x == rest.x) continue;
        rest.x = x;
        ++moved;
    }
    return moved;
}

// Whether another staff of the system that holds staff `index` plays longer than `barLength` between x `left` and
// `right`: a bar another voice runs over stands for no meter's bar. Notes of one staff at one x advance its time once,
// by the shortest of them.
bool BarRunsOver(const PageRecord& page, int index, int left, int right, double barLength) {
    constexpr double tickSlack = 1.0;
    const auto [first, last] = SystemOfStaff(page, index);
    for (int s = first; s <= last; ++s) {
        if (s == index) continue;
        double played = 0;
        std::map<int, double> shortestAt;
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(s)].elements)
            if (!e.isSign() && e.x > left && e.x < right) {
                const auto [it, added] = shortestAt.try_emplace(e.x, WrittenTicks(e));
                if (!added) it->second = std::min(it->second, WrittenTicks(e));
            }
        for (const auto& [x, ticks] : shortestAt) played += ticks;
        if (played > barLength + tickSlack) return true;
    }
    return false;
}

int SetWholeBarRests(ScoreDocument& doc) {
    // By voice, the bar length its own time signatures set, as playback reads them; none before the first.
    std::map<unsigned, BarMeasure> measures;
    int moved = 0;
    for (PageRecord& page : doc.pages)
        for (int s = 0; s < static_cast<int>(page.staves.size()); ++s) {
            StaffRecord& staff = page.staves[static_cast<std::size_t>(s)];
            const unsigned voice = staff.voice().voice();
            auto& elements = staff.elements;
            // The bars of the whole system: a voice sharing a staff draws none of its own.
            const std::vector<int> bars = SystemBarLines(page, s);
            const std::vector<int> counts = NotesPerBar(staff, bars);
            const std::vector<std::int32_t> starts = SystemBarStarts(page, s, bars);
            const int n = static_cast<int>(elements.size());
            for (int i = 0; i < n; ++i) {
                ElementRecord& rest = elements[static_cast<std::size_t>(i)];
                if (rest.isSignOfType(SignType::TimeSignature)) ApplyMeter(rest, false, measures[voice]);
                const std::size_t bar = BarIndex(bars, rest.x);
                // A rest that starts after its bar has begun (a voice whose rests straddle the bar lines) stays.
                if (!rest.isRest() || rest.w0().hidden() || bar == bars.size() || counts[bar] != 1 ||
                    rest.x > starts[bar])
                    continue;
                const auto measure = measures.find(voice);
                if (measure == measures.end()) continue;
                const double barLength = measure->second.barLength;
                // An undotted whole rest stands for a whole bar in any meter; another rest must last the bar.
                if (!IsUndottedWhole(rest) && WrittenTicks(rest) != barLength) continue;
                if (BarRunsOver(page, s, bar > 0 ? bars[bar - 1] : INT_MIN, bars[bar], barLength)) continue;
                const int before = i > 0 ? elements[static_cast<std::size_t>(i - 1)].x : INT_MIN;
                const int after = i + 1 < n ? elements[static_cast<std::size_t>(i + 1)].x : INT_MAX;
                // In a line's first bar the music starts where the layout put the rest, after the clef and key.
                const int left = bar > 0 ? bars[bar - 1] : rest.x;
                const int x = std::midpoint(left, bars[bar]);
                if (x <= before || x >= after) continue;
                rest.noteWord().setDurationCode(wholeCode);
                rest.noteWord().setDots(0);
                rest.x = x;
                ++moved;
            }
        }
    return moved;
}

int SetStandardRestHeights(StaffRecord& staff, int first, int last) {
    const auto [from, to] = Clamped(staff, first, last);
    int changed = 0;
    for (int i = from; i <= to; ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isRest()) continue;
        const RestPitch pitch = RestPitchUnderClef(ClefValueOnStaff(staff, e.x));
        if (e.noteWord().step() == pitch.step && e.w0().octave() == pitch.octave) continue;
        e.noteWord().setStep(pitch.step);
        e.w0().setOctave(pitch.octave);
        ++changed;
    }
    return changed;
}

}  // namespace notavera
