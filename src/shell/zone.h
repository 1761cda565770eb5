// The marked zone that region commands work on: its start (marker Y), its end, and the checks zone operations
// make before they run.
#pragma once

#include <vector>

namespace notavera {

struct EditorContext;

// The zone starts at the current element of the current staff and page; its end stays open. With `beep` the
// user hears that the marker is set.
void SetMarkerY(EditorContext& ctx, bool beep);

// No zone any more: the zone record, marker X and the marker-Y offset return to zero and the zone rectangle is
// no longer shown.
void ClearZone(EditorContext& ctx);

// The elements of one staff that belong to the zone: indices first..last, inclusive.
struct ZoneSpan {
    int staff = 0;
    int first = 0;
    int last = 0;
};

// The zone staff by staff, on its page: from its start element to the end of its start staff, every element of
// the staves between, and from the first element of its last staff to its last element (on one staff, from the
// start to the last element). Empty while the zone has no last element or its page is not in memory; indices
// that no longer fit their staff are cut to it.
std::vector<ZoneSpan> ZoneSpans(EditorContext& ctx);

// The region a region command works on, staff by staff on the current page: the marked zone rectangle when one
// is shown, otherwise from the cursor's element to marker Y's element, whichever comes first (the staves between
// whole). Empty while marker Y is not set on the current page.
std::vector<ZoneSpan> RegionSpans(EditorContext& ctx);

// True when `busy` is false and the zone has a last element; otherwise the warning beep and false.
bool ZoneAvailable(EditorContext& ctx, bool busy = false);

}  // namespace notavera
