// Pitch offsets, clef state, staff placement, visible region, scroll ranges and continuous-page geometry.
#include "render/geometry.h"

#include <algorithm>

#include "score/staff_layout_model.h"

namespace notavera {

int PitchToOffset(int step, int octave, int clefValue, int halfSpace, int lines) {
    int offset = (clefValue + 7 * (octave - 4) - 17 + step) * halfSpace;
    if (lines > 5) offset -= (2 * lines - 10) * halfSpace;
    return offset;
}

void ClefChanges::add(int x, int value) {
    // A pass meets each clef twice (the pre-pass and the elements): the second meeting must not use up a place.
    for (int i = 0; i < count_; ++i) {
        if (x_[static_cast<std::size_t>(i)] == x && value_[static_cast<std::size_t>(i)] == value) return;
    }
    if (count_ >= Capacity) return;
    // Insert after every change at or before x, so that the table stays sorted and a later clef at the same x
    // takes effect.
    int i = count_;
    while (i > 0 && x_[static_cast<std::size_t>(i - 1)] > x) {
        x_[static_cast<std::size_t>(i)] = x_[static_cast<std::size_t>(i - 1)];
        value_[static_cast<std::size_t>(i)] = value_[static_cast<std::size_t>(i - 1)];
        --i;
    }
    x_[static_cast<std::size_t>(i)] = x;
    value_[static_cast<std::size_t>(i)] = value;
    ++count_;
}

int ClefChanges::valueAt(int x) const {
    int value = 0;
    for (int i = 0; i < count_ && x_[static_cast<std::size_t>(i)] <= x; ++i) value = value_[static_cast<std::size_t>(i)];
    return value;
}

std::vector<StaffDrawState> PlaceStaves(const StaffLayoutModel& model, const StaffMetrics& metrics,
                                        const PageFrame& frame) {
    const int count = std::min(static_cast<int>(model.staffCount()), StaffLayoutModel::maxStaves);
    std::vector<StaffDrawState> staves(static_cast<std::size_t>(count));
    int y = frame.pageHeight - 40;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t word = model.staffWord(i);
        StaffDrawState& s = staves[static_cast<std::size_t>(i)];
        s.small = staff_model::Small::get(word) != 0;
        s.grey = staff_model::Grey::get(word) != 0;
        s.invisible = staff_model::Invisible::get(word) != 0;
        s.lines = static_cast<int>(staff_model::LineCount::get(word));
        const int size = s.small ? 1 : 0;
        y -= static_cast<int>(staff_model::Distance::get(word)) * metrics.staffSpace[size];
        s.topLine = y;
        // Elements count from a virtual five-line staff: a single line is its middle line, four lines its lower
        // four.
        int reference = y + metrics.staffHeight[size];
        if (s.lines == 1) reference += 2 * metrics.staffSpace[size];
        if (s.lines == 4) reference += metrics.staffSpace[size];
        s.referenceY = reference;
        s.left = staff_model::Indented::get(word) != 0 ? frame.indentEdge : frame.leftEdge;
        s.right = frame.lineEnd;
    }
    return staves;
}

int ClefValueAt(const std::vector<StaffDrawState>& staves, int staff, int x) {
    if (staff < 0 || static_cast<std::size_t>(staff) >= staves.size()) return 0;
    return staves[static_cast<std::size_t>(staff)].clefs.valueAt(x);
}

PageRegion VisibleRegion(int scrollX, int scrollY, int clientWidth, int clientHeight, ZoomFraction zoom) {
    PageRegion r;
    r.x0 = ToPage(scrollX, zoom);
    r.x1 = r.x0 + ToPage(clientWidth, zoom);
    r.y0 = ToPage(scrollY, zoom);
    r.y1 = r.y0 + ToPage(clientHeight, zoom);
    return r;
}

namespace {

int ScrollRange(int extent, int client, int unit, ZoomFraction zoom) {
    const int range = (ToDevice(extent, zoom) - client * 5 / 6) / std::max(unit, 1) + 3;
    return std::max(range, 0);
}

}  // namespace

ScrollRanges ComputeScrollRanges(const ScrollInput& in, ZoomFraction zoom) {
    const int width = std::max(in.lineEnd - in.leftEdge, in.pageWidth + in.leftEdge);
    return {ScrollRange(width, in.clientWidth, in.unitX, zoom),
            ScrollRange(in.pageHeight + in.verticalPageOffset * 10, in.clientHeight, in.unitY, zoom)};
}

ContinuousGeometry EnterContinuousPages(int lineLength, int continuousPages) {
    ContinuousGeometry g;
    g.pages = std::clamp(continuousPages, 1, MaxContinuousPages);
    g.pageStep = lineLength;
    g.lineEnd = g.pageStep * g.pages;
    g.pageWidth = g.lineEnd + 100;
    return g;
}

}  // namespace notavera
