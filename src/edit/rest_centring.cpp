// Centring rests in their bar and bringing them to their standard height.
#include "edit/rest_centring.h"

#include <algorithm>

#include "score/clef_values.h"

namespace notavera {

namespace {

bool IsBar(const ElementRecord& e) { return e.isSignOfType(SignType::Bar); }
bool IsNoteOrRest(const ElementRecord& e) { return !e.isSign(); }

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
