// The marked zone that region commands work on: its start (marker Y), its end, and the checks zone operations
// make before they run.
#pragma once

namespace notavera {

struct EditorContext;

// The zone starts at the current element of the current staff and page; its end stays open. With `beep` the
// user hears that the marker is set.
void SetMarkerY(EditorContext& ctx, bool beep);

// No zone any more: the zone record, marker X and the marker-Y offset return to zero and the zone rectangle is
// no longer shown.
void ClearZone(EditorContext& ctx);

// True when `busy` is false and the zone has a last element; otherwise the warning beep and false.
bool ZoneAvailable(EditorContext& ctx, bool busy = false);

}  // namespace notavera
