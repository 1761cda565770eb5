// Staff frames from the pass's staff states.
#include "render/staff_frame.h"

#include <cmath>

#include "render/geometry.h"

namespace notavera {

std::optional<StaffFrame> FrameOfStaff(const DrawingContext& dc, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= dc.staves.size()) return std::nullopt;
    const StaffDrawState& s = dc.staves[static_cast<std::size_t>(index)];
    const auto size = static_cast<std::size_t>(s.small ? 1 : 0);
    StaffFrame f;
    f.index = index;
    f.reference = static_cast<int>(std::lround(s.referenceY));
    f.lines = s.lines;
    f.small = s.small;
    f.halfSpace = dc.metrics.halfSpace[size];
    f.staffSpace = dc.metrics.staffSpace[size];
    f.staffHeight = dc.metrics.staffHeight[size];
    if (s.lines == 1) {
        f.extentTop = s.topLine + f.staffSpace;
        f.extentBottom = s.topLine - f.staffSpace;
    } else if (s.lines > 1) {
        f.extentTop = s.topLine;
        f.extentBottom = s.topLine - (s.lines - 1) * f.staffSpace;
    } else {
        // A staff without lines keeps the place of a five-line staff.
        f.extentTop = f.topLine();
        f.extentBottom = f.bottomLine();
    }
    return f;
}

std::optional<StaffFrame> FrameOfElement(const DrawingContext& dc, const StaffRecord& staff,
                                         const ElementRecord& element) {
    const int own = static_cast<int>(staff.key().index());
    int index = own;
    switch (element.w0().crossStaff()) {
    case 1: index = own - 1; break;
    case 2: index = own + 1; break;
    default: break;
    }
    if (auto frame = FrameOfStaff(dc, index)) return frame;
    return FrameOfStaff(dc, own);
}

int PitchHeight(const DrawingContext& dc, const StaffFrame& frame, int x, int step, int octave) {
    return frame.reference +
           PitchToOffset(step, octave, ClefValueAt(dc.staves, frame.index, x), frame.halfSpace, frame.lines);
}

}  // namespace notavera
