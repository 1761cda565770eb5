// The Détruire menu: stretches of elements at the cursor and the marks of the current note.
#include "shell/erase_commands.h"

#include <algorithm>
#include <limits>

#include "edit/mark_removal.h"
#include "edit/region_deletion.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/copy_commands.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/zone.h"

namespace notavera {
namespace {

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

ElementRuns EraseMarkedRegion(EditorContext& ctx) {
    PageRecord* page = ctx.doc.findPage(ctx.shell.cursor.zone.page);
    ElementRuns removed;
    // The spans are taken before any removal: each staff's indices stay valid while only that staff changes.
    const std::vector<ZoneSpan> spans = ZoneSpans(ctx);
    for (const ZoneSpan& span : spans)
        removed.push_back({span.staff - spans.front().staff,
                           EraseElements(page->staves[static_cast<std::size_t>(span.staff)], span.first, span.last)});
    return removed;
}

ElementRuns EraseToMarkerY(EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr || zone.page != ctx.doc.currentPage || zone.startStaff != ctx.doc.currentStaff) return {};
    if (zone.start < 0 || zone.start >= static_cast<int>(staff->elements.size())) return {};
    const int marked = staff->elements[static_cast<std::size_t>(zone.start)].x;
    const int cursor = ctx.shell.cursor.x;
    return {{0, EraseBetween(*staff, std::min(marked, cursor), std::max(marked, cursor))}};
}

bool Removed(const ElementRuns& runs) {
    for (const StaffRun& run : runs)
        if (!run.elements.empty()) return true;
    return false;
}

}  // namespace

bool EraseRegion(EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    ElementRuns removed = c.zoneRect.shown && c.zone.last >= 0 ? EraseMarkedRegion(ctx) : EraseToMarkerY(ctx);
    if (!Removed(removed)) {
        ctx.ui.beep();
        return false;
    }
    RememberErased(ctx, std::move(removed));
    ClearZone(ctx);
    ReplaceCursor(ctx);
    return true;
}

bool EraseToLineEnd(EditorContext& ctx) {
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return false;
    std::vector<ElementRecord> removed = EraseBetween(*staff, ctx.shell.cursor.x, std::numeric_limits<int>::max());
    if (removed.empty()) return false;
    RememberErased(ctx, {{0, std::move(removed)}});
    ReplaceCursor(ctx);
    return true;
}

void RegisterEraseCommands(CommandRegistry& r) {
    r.addCommand(cmd::EraseRegion, [](EditorContext& ctx, int) { EraseRegion(ctx); }, UndoPolicy::Step);
    r.addCommand(cmd::EraseToLineEnd, [](EditorContext& ctx, int) { EraseToLineEnd(ctx); }, UndoPolicy::Step);
    r.addCommand(cmd::EraseBeam, [](EditorContext& ctx, int) { EraseBeam(ctx.doc, ctx.ui); }, UndoPolicy::Step);
    r.addCommand(cmd::EraseSlur, [](EditorContext& ctx, int) { EraseSlur(ctx.doc, ctx.ui); }, UndoPolicy::Step);
    r.addCommand(cmd::EraseGroup, [](EditorContext& ctx, int) { EraseGroup(ctx.doc, ctx.ui); }, UndoPolicy::Step);
}

}  // namespace notavera
