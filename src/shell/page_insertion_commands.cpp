// Making pages from the menu.
#include "shell/page_insertion_commands.h"

#include "print/page_layout_commands.h"
#include "print/staff_layout_pages.h"
#include "score/mus_file.h"
#include "score/page_append.h"
#include "score/page_insertion.h"
#include "score/staff_layout_model.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/page_navigation.h"

namespace notavera {

namespace {

// An empty page with the staves of `like`, laid out by the document's model as the dialog left it.
PageRecord NewPageFromModel(const ScoreDocument& doc, const PageRecord& like) {
    PageRecord page = NewPageLike(like, 0);
    ApplyStaffLayoutModel(doc.layoutModel, page);  // cannot refuse: no staff holds elements
    return page;
}

// A page number recorded before the insertion, moved with its page.
void FollowInsertion(int& number, int inserted) {
    if (number >= inserted) ++number;
}

}  // namespace

int AppendPage(EditorContext& ctx, AppendMode mode) {
    ScoreDocument& doc = ctx.doc;
    if (doc.pageCount >= maxPages) {
        ctx.ui.beep();
        return 0;
    }
    // The page is made after the last one, which must be in memory for that.
    if (doc.findPage(doc.pageCount) == nullptr && MoveWindowTo(doc, ctx.ui, doc.pageCount) != FileOk) return 0;
    if (mode == AppendMode::AfterDialog) {
        if (CreatePageFromDialog(ctx) == 0) return 0;
    } else {
        if (PageAfter(doc, ctx.ui, doc.pageCount) == nullptr) {
            ctx.ui.beep();
            return 0;
        }
    }
    const DocumentStorage& st = doc.storage;
    if (st.windowLast - st.windowFirst > st.keepBefore) MoveWindowTo(doc, ctx.ui, doc.pageCount);
    ShowPage(ctx, doc.pageCount);
    return 1;
}

void InsertPageAfterCurrent(EditorContext& ctx) {
    LeaveEntryModes(ctx);
    ScoreDocument& doc = ctx.doc;
    const PageRecord* current = doc.page();
    if (ctx.shell.maskEditing || current == nullptr) return;
    if (doc.currentPage >= doc.pageCount) {
        AppendPage(ctx, AppendMode::AfterDialog);
        return;
    }
    if (doc.pageCount >= maxPages) {
        ctx.ui.beep();
        return;
    }
    if (RunStaffLayoutDialog(ctx, StaffLayoutPurpose::NewPage) == 0) return;
    const int after = doc.currentPage;
    current = doc.findPage(after);
    if (current == nullptr || !InsertPageOfScore(doc, ctx.ui, after, NewPageFromModel(doc, *current))) {
        ctx.ui.beep();
        return;
    }
    FollowInsertion(ctx.shell.cursor.markerPage, after + 1);
    FollowInsertion(ctx.shell.copy.copy.page, after + 1);
    ShowPage(ctx, after + 1);
}

void RegisterPageInsertionCommands(CommandRegistry& r) {
    r.addCommand(cmd::InsertPage, [](EditorContext& ctx, int) { InsertPageAfterCurrent(ctx); },
                 UndoPolicy::StepInTemplateMode);
}

}  // namespace notavera
