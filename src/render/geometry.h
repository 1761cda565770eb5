// Page geometry in page units (tenths of a millimetre, y up): pitch to height, the clef in force along a staff,
// staff positions and reference heights, the visible region, scroll ranges and continuous pages.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/page_region.h"
#include "render/staff_metrics.h"
#include "render/zoom.h"
#include "score/clef_values.h"

namespace notavera {

class StaffLayoutModel;

// The vertical offset from a staff's reference height of step 1–7 (C to B) in `octave` (4 from middle C) under a
// clef value, on a staff of `lines` lines.
int PitchToOffset(int step, int octave, int clefValue, int halfSpace, int lines = 5);

// The clef changes met on one staff during a drawing pass, kept sorted by x.
class ClefChanges {
public:
    static constexpr int Capacity = 30;

    void clear() { count_ = 0; }
    // Enters a clef drawn at x; a change beyond the thirtieth of the pass, or one already entered with the same x
    // and value, is ignored.
    void add(int x, int value);
    // The value of the last change at or before x; 0 when there is none.
    int valueAt(int x) const;
    int count() const { return count_; }

private:
    std::array<int, Capacity> x_{};
    std::array<int, Capacity> value_{};
    int count_ = 0;
};

// A staff as the drawing pass places it on the page.
struct StaffDrawState {
    ClefChanges clefs;
    int topLine = 0;          // y of the staff's top drawn line
    double referenceY = 0;    // y from which the staff's elements count their vertical offsets
    int lines = 5;
    bool small = false;
    bool grey = false;
    bool invisible = false;
    int left = 0;             // x where the lines start
    int right = 0;            // x where they end
};

// What the page supplies to place its staves.
struct PageFrame {
    int pageHeight = 2970;
    int leftEdge = 0;     // the normal left edge of lines
    int indentEdge = 0;   // the left edge of an indented (first) line
    int lineEnd = 0;      // x where the lines end
};

// Places every staff of the model from the top of the page down.
std::vector<StaffDrawState> PlaceStaves(const StaffLayoutModel& model, const StaffMetrics& metrics,
                                        const PageFrame& frame);

// The clef value in force at x on staff `staff` of the pass; 0 for a staff the pass does not know.
int ClefValueAt(const std::vector<StaffDrawState>& staves, int staff, int x);

// The part of the page a window shows: its scroll position and client size, in logical units.
PageRegion VisibleRegion(int scrollX, int scrollY, int clientWidth, int clientHeight, ZoomFraction zoom);

struct ScrollInput {
    int pageWidth = 2100;
    int pageHeight = 2970;
    int verticalPageOffset = 0;  // in millimetres
    int leftEdge = 0;
    int lineEnd = 0;
    int clientWidth = 0;         // logical units
    int clientHeight = 0;
    int unitX = 1;               // 40 device pixels in logical units
    int unitY = 1;
};

struct ScrollRanges {
    int horizontal = 0;
    int vertical = 0;
};

ScrollRanges ComputeScrollRanges(const ScrollInput& in, ZoomFraction zoom);

// Continuous pages ("Page en &continu"): one long line of several pages.
inline constexpr int MaxContinuousPages = 10;

struct ContinuousGeometry {
    int lineEnd = 0;     // the lengthened line
    int pageWidth = 0;   // the line plus a margin
    int pageStep = 0;    // one page's share of the line; separators are drawn at its multiples
    int pages = 1;
};

// The page's line run on across `continuousPages` sheets (1 to MaxContinuousPages), each sheet one line length.
ContinuousGeometry EnterContinuousPages(int lineLength, int continuousPages);

}  // namespace notavera
