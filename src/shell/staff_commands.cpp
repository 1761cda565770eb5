// The staff insertion and deletion commands.
#include "shell/staff_commands.h"

#include "edit/staff_insertion.h"
#include "edit/staff_swap.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/zone.h"

namespace notavera {

int StaffAboveHeight(ScoreDocument& doc, double y) {
    const std::optional<CursorFrame> f = CursorFrameOf(doc);
    if (!f) return -1;
    int found = -1;
    // Staves run top to bottom with y upwards: a click lies below a staff when it lies below the staff's top line
    // (one staff height under the reference height the elements count from).
    for (std::size_t i = 0; i < f->staffY.size(); ++i)
        if (f->staffY[i] - f->staffHeight >= y) found = static_cast<int>(i);
    return found;
}

void SwapWithMarkedStaff(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    PageRecord* page = doc.page();
    const int staves = page ? static_cast<int>(page->staves.size()) : 0;
    const int marked = zone.startStaff;
    if (zone.page != doc.currentPage || marked == doc.currentStaff || marked < 0 || marked >= staves ||
        doc.currentStaff >= staves) {
        ctx.ui.beep();
        return;
    }
    SwapStaffContents(*page, doc.currentStaff, marked);
    ClearZone(ctx);
    const std::optional<CursorFrame> f = CursorFrameOf(doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(doc.currentStaff)] : doc.defaultFirstX;
    ctx.shell.cursor.x = ReplaceOnStaff(doc, Replace::AtOrAfterX, ctx.shell.cursor.x, start);
    doc.markModified();
    ctx.ui.invalidate();
}

void RegisterStaffCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::SwapMarkedStaff, [](EditorContext& ctx, int) { SwapWithMarkedStaff(ctx); },
                        UndoPolicy::Step);
    registry.addCommand(cmd::InsertStaff,
                        [](EditorContext& ctx, int) { ctx.shell.input.mouseMode = insertStaffMouseMode; });
    registry.addCommand(
        cmd::EraseStaff, [](EditorContext& ctx, int) { DeleteCurrentStaff(ctx.doc, ctx.ui); }, UndoPolicy::Step);
    registry.addChar(
        '$', [](EditorContext& ctx, int) { InsertStaffBelow(ctx.doc, ctx.ui, ctx.doc.currentStaff); },
        UndoPolicy::Typing);
}

}  // namespace notavera
