// Marker Y, the zone record and the zone checks.
#include "shell/zone.h"

#include "shell/editor_context.h"

namespace notavera {

void SetMarkerY(EditorContext& ctx, bool beep) {
    ZoneRecord& zone = ctx.shell.cursor.zone;
    zone = ZoneRecord{};
    zone.page = ctx.doc.currentPage;
    zone.startStaff = ctx.doc.currentStaff;
    zone.lastStaff = ctx.doc.currentStaff;
    zone.start = ctx.doc.currentElement;
    if (beep) ctx.ui.beep();
}

void ClearZone(EditorContext& ctx) {
    CursorState& c = ctx.shell.cursor;
    const bool shown = c.zoneRect.shown;
    c.zone = ZoneRecord{};
    c.markerX = 0;
    c.markerYOffset = 0;
    c.zoneRect = ZoneRectangle{};
    if (shown) ctx.ui.invalidate();
}

bool ZoneAvailable(EditorContext& ctx, bool busy) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    if (!busy && zone.marked() && zone.last >= 0) return true;
    ctx.ui.beep();
    return false;
}

}  // namespace notavera
