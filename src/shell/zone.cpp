// Marker Y, the zone record and the zone checks.
#include "shell/zone.h"

#include <algorithm>
#include <utility>

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

std::vector<ZoneSpan> ZoneSpans(EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    const PageRecord* page = ctx.doc.findPage(zone.page);
    std::vector<ZoneSpan> spans;
    if (!zone.marked() || zone.last < 0 || page == nullptr) return spans;
    const int staves = static_cast<int>(page->staves.size());
    const int top = std::max(std::min(zone.startStaff, zone.lastStaff), 0);
    const int bottom = std::min(std::max(zone.startStaff, zone.lastStaff), staves - 1);
    for (int s = top; s <= bottom; ++s) {
        const int count = static_cast<int>(page->staves[static_cast<std::size_t>(s)].elements.size());
        int first = s == zone.startStaff ? std::max(zone.start, 0) : 0;
        int last = s == zone.lastStaff ? zone.last : count - 1;
        if (zone.startStaff == zone.lastStaff && first > last) std::swap(first, last);
        last = std::min(last, count - 1);
        if (first <= last) spans.push_back({s, first, last});
    }
    return spans;
}

std::vector<ZoneSpan> RegionSpans(EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    if (c.zoneRect.shown && c.zone.last >= 0) return ZoneSpans(ctx);
    const PageRecord* page = ctx.doc.page();
    std::vector<ZoneSpan> spans;
    if (!c.zone.marked() || c.zone.page != ctx.doc.currentPage || page == nullptr) return spans;
    const int staves = static_cast<int>(page->staves.size());
    // An end without an element stands before the staff's first one.
    std::pair from{ctx.doc.currentStaff, std::max(ctx.doc.currentElement, 0)};
    std::pair to{c.zone.startStaff, std::max(c.zone.start, 0)};
    if (to < from) std::swap(from, to);
    for (int s = std::max(from.first, 0); s <= std::min(to.first, staves - 1); ++s) {
        const int count = static_cast<int>(page->staves[static_cast<std::size_t>(s)].elements.size());
        const int first = s == from.first ? from.second : 0;
        const int last = std::min(s == to.first ? to.second : count - 1, count - 1);
        if (first <= last) spans.push_back({s, first, last});
    }
    return spans;
}

bool ZoneAvailable(EditorContext& ctx, bool busy) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    if (!busy && zone.marked() && zone.last >= 0) return true;
    ctx.ui.beep();
    return false;
}

}  // namespace notavera
