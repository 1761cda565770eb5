// The Page menu's commands of the print subsystem, handed to the staff-layout dialog and the mask editing.
#include "print/page_layout_commands.h"

#include "print/mask_editing.h"
#include "print/staff_layout_pages.h"
#include "score/page_append.h"
#include "score/staff_layout_model.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/title_bar.h"

namespace notavera {

int CreatePageFromDialog(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.pageCount >= maxPages) {
        ctx.ui.beep();
        return 0;
    }
    if (RunStaffLayoutDialog(ctx, StaffLayoutPurpose::NewPage) == 0) return 0;
    PageRecord* page = PageAfter(doc, ctx.ui, doc.pageCount);
    // A new page has empty staves, so the model always fits it.
    if (page == nullptr || !ApplyStaffLayoutModel(doc.layoutModel, *page)) {
        ctx.ui.beep();
        return 0;
    }
    doc.currentPage = static_cast<int>(page->number);
    doc.currentStaff = 0;
    doc.currentElement = -1;
    doc.markModified();
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
    return 1;
}

void RegisterPageLayoutCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::CreatePage, [](EditorContext& ctx, int) { CreatePageFromDialog(ctx); }, UndoPolicy::Step);
    registry.addCommand(cmd::ModifyPage, [](EditorContext& ctx, int) {
        if (ctx.doc.page() != nullptr) RunStaffLayoutDialog(ctx, StaffLayoutPurpose::ModifyPage);
    }, UndoPolicy::Step);
    registry.addCommand(cmd::LeaveMask, [](EditorContext& ctx, int) { LeaveMaskEditing(ctx); });
    for (const int command : {cmd::EditFixedMask, cmd::EditVariableMask})
        registry.addCommand(command, [](EditorContext& ctx, int id) { EnterMaskEditing(ctx, id); });
    for (const int command : {cmd::EraseFixedMask, cmd::EraseVariableMask})
        registry.addCommand(command, [](EditorContext& ctx, int id) { EraseMask(ctx, id); }, UndoPolicy::Step);
    for (const int command : {cmd::WithoutFixedMask, cmd::WithoutVariableMask})
        registry.addCommand(command, [](EditorContext& ctx, int id) { ToggleMaskFlag(ctx, id); }, UndoPolicy::Step);
    registry.addCommand(cmd::TraceGhostModel, [](EditorContext& ctx, int) { TraceMasks(ctx); }, UndoPolicy::Step);
}

}  // namespace notavera
