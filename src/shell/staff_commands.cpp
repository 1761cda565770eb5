// The staff insertion and deletion commands.
#include "shell/staff_commands.h"

#include "edit/staff_insertion.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/editor_context.h"

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

void RegisterStaffCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::InsertStaff,
                        [](EditorContext& ctx, int) { ctx.shell.input.mouseMode = insertStaffMouseMode; });
    registry.addCommand(
        cmd::EraseStaff, [](EditorContext& ctx, int) { DeleteCurrentStaff(ctx.doc, ctx.ui); }, UndoPolicy::Step);
    registry.addChar(
        '$', [](EditorContext& ctx, int) { InsertStaffBelow(ctx.doc, ctx.ui, ctx.doc.currentStaff); },
        UndoPolicy::Typing);
}

}  // namespace notavera
