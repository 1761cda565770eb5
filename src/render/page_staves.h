// Where the staves of a page lie (from the page's own staff words) and the drawing of their lines, with the
// separators of the continuous-page view.
#pragma once

#include <optional>
#include <vector>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// The staff words of a page read back as a layout model: what the model applied to the page gave each staff.
StaffLayoutModel LayoutOfPage(const PageRecord& page);

// The page's staves placed from the top of the page (pageTop, the page height), the lines running from the
// normal left edge (x 0) or the first-line indentation to the end of the line (lineEnd).
std::vector<StaffDrawState> PlacePageStaves(const PageRecord& page, const StaffMetrics& metrics, int pageTop,
                                            int lineEnd);

class ScoreDocument;

// The metrics of the page's staff size with the document's small-staff and cue ratios; a damaged header's zero
// terms would divide by zero, so such a document keeps the usual ratios.
StaffMetrics MetricsOfPage(const ScoreDocument& doc, const PageRecord& page);

// Staff `staff` of the current page placed as the drawing pass places it (lines up to the page's line length),
// with the metrics of the page; nothing for a staff the page does not have.
struct PlacedStaff {
    StaffDrawState state;
    StaffMetrics metrics;
};
std::optional<PlacedStaff> PlaceStaffOfCurrentPage(const ScoreDocument& doc, int staff);

// The colour of a grey staff: red, green and blue 128.
inline constexpr Colour GreyStaffColour = RgbColour(128, 128, 128);

// A line whose staves with music all close with a final bar or an end repeat short of the line's end, as the last
// line of a piece or movement does when it is not justified, has its staff lines stop at the widest of those bars:
// an engraved piece does not run empty staff lines on to the margin.
void EndLinesAtClosingBars(DrawingContext& dc, const PageRecord& page);

// The lines of staves [0, count): solid, "Lignes Portée" wide, grey on a grey staff, none on an invisible one.
// In the metafile passes they are kept within the export region and staves wholly above or below it are skipped.
void DrawStaffLines(DrawingContext& dc, int count);

// The thin separators of the continuous view, one at each multiple of the page step, from the first staff's top
// line down to the foot of the page.
void DrawContinuousSeparators(DrawingContext& dc, const ContinuousGeometry& geometry, int bottom);

// The number of staves the continuous view shows: up to the first staff that closes a system.
int StavesOfFirstSystem(const PageRecord& page);

}  // namespace notavera
