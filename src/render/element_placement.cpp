// Resolves an element's staff placement against the staves the pass has placed, and pitches to page heights.
#include "render/element_placement.h"

#include <cmath>

namespace notavera {

bool StaffPlace::onLine(int y, const StaffMetrics& m) const {
    const int space = m.staffSpace[size];
    return space > 0 && (y - topLine) % space == 0;
}

std::optional<StaffPlace> PlaceOfElement(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e) {
    const int own = static_cast<int>(staff.key().index());
    const int count = static_cast<int>(dc.staves.size());
    if (own >= count) return std::nullopt;
    int index = own;
    const unsigned placement = e.w0().crossStaff();
    if (placement == 1 && own > 0) index = own - 1;
    if (placement == 2 && own + 1 < count) index = own + 1;

    const StaffDrawState& s = dc.staves[static_cast<std::size_t>(index)];
    StaffPlace place;
    place.index = index;
    place.size = s.small ? 1 : 0;
    place.lines = s.lines;
    place.reference = static_cast<int>(std::lround(s.referenceY));
    place.topLine = place.reference - dc.metrics.staffHeight[place.size];
    return place;
}

int PitchHeight(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e) {
    const int clef = ClefValueAt(dc.staves, place.index, e.x);
    const int step = static_cast<int>(e.isSign() ? e.signWord().code() : e.noteWord().step());
    return place.reference +
           PitchToOffset(step, static_cast<int>(e.w0().octave()), clef, dc.metrics.halfSpace[place.size], place.lines);
}

ElementSizeScope::ElementSizeScope(DrawingContext& dc, const StaffPlace& place, bool cue)
    : dc_(dc), small_(dc.draw.isSmallStaff), cue_(dc.draw.isCueSize) {
    dc.draw.isSmallStaff = place.size == 1;
    dc.draw.isCueSize = cue;
}

ElementSizeScope::~ElementSizeScope() {
    dc_.draw.isSmallStaff = small_;
    dc_.draw.isCueSize = cue_;
}

}  // namespace notavera
