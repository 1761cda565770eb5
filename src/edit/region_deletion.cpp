// Removing stretches of elements. The music after a removed stretch keeps its place: closing the gap up is the
// spacing commands' work, which the user runs when the line is complete.
#include "edit/region_deletion.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/zone.h"

namespace notavera {
namespace {

// Removes the elements first..last of the staff; false when the range holds none.
bool RemoveRange(StaffRecord& staff, int first, int last) {
    const int count = static_cast<int>(staff.elements.size());
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last) return false;
    staff.elements.erase(staff.elements.begin() + first, staff.elements.begin() + last + 1);
    return true;
}

// Elements of the staff whose x lies within [from, to].
std::pair<int, int> RangeOfX(const StaffRecord& staff, int from, int to) {
    const auto& els = staff.elements;
    const auto first = std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x >= from; });
    const auto end = std::find_if(first, els.end(), [&](const ElementRecord& e) { return e.x > to; });
    return {static_cast<int>(first - els.begin()), static_cast<int>(end - els.begin()) - 1};
}

// After a removal the cursor keeps its x; the element there or after it becomes current.
void ReplaceCursor(EditorContext& ctx) {
    ctx.doc.markModified();
    ctx.doc.currentElement = -1;
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
    ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, ctx.shell.cursor.x, start);
    MoveCursor(ctx, MoveSnap);
    ctx.ui.invalidate();
}

bool EraseMarkedRegion(EditorContext& ctx) {
    PageRecord* page = ctx.doc.findPage(ctx.shell.cursor.zone.page);
    bool removed = false;
    // The spans are taken before any removal: each staff's indices stay valid while only that staff changes.
    for (const ZoneSpan& span : ZoneSpans(ctx))
        removed = RemoveRange(page->staves[static_cast<std::size_t>(span.staff)], span.first, span.last) || removed;
    return removed;
}

bool EraseToMarkerY(EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr || zone.page != ctx.doc.currentPage || zone.startStaff != ctx.doc.currentStaff) return false;
    if (zone.start < 0 || zone.start >= static_cast<int>(staff->elements.size())) return false;
    const int marked = staff->elements[static_cast<std::size_t>(zone.start)].x;
    const int cursor = ctx.shell.cursor.x;
    const auto [first, last] = RangeOfX(*staff, std::min(marked, cursor), std::max(marked, cursor));
    return RemoveRange(*staff, first, last);
}

}  // namespace

bool EraseRegion(EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    const bool removed = c.zoneRect.shown && c.zone.last >= 0 ? EraseMarkedRegion(ctx) : EraseToMarkerY(ctx);
    if (!removed) {
        ctx.ui.beep();
        return false;
    }
    ClearZone(ctx);
    ReplaceCursor(ctx);
    return true;
}

bool EraseToLineEnd(EditorContext& ctx) {
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return false;
    const auto [first, last] = RangeOfX(*staff, ctx.shell.cursor.x, std::numeric_limits<int>::max());
    if (!RemoveRange(*staff, first, last)) return false;
    ReplaceCursor(ctx);
    return true;
}

}  // namespace notavera
