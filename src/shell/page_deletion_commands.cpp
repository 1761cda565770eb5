// Deleting pages from the menu.
#include "shell/page_deletion_commands.h"

#include <algorithm>
#include <string>

#include "platform/messages.h"
#include "print/staff_layout_pages.h"
#include "score/page_deletion.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/copy_commands.h"
#include "shell/cursor_move.h"
#include "shell/editor_context.h"
#include "shell/page_navigation.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

constexpr int askDeletePage = 25;
constexpr int askDeleteToPage = 26;

// The one page of the score gives way to a new one, defined in the staff-layout dialog (cancelling keeps the
// staves as they were, empty).
void RenewOnlyPage(EditorContext& ctx) {
    PageRecord* page = ctx.doc.page();
    if (page == nullptr) return;
    for (StaffRecord& staff : page->staves) staff.elements.clear();
    RunStaffLayoutDialog(ctx, StaffLayoutPurpose::FirstPage);
}

// The staff of the former index and the element at the former x, on the page now current.
void ComeBack(EditorContext& ctx, int staff, int x) {
    ScoreDocument& doc = ctx.doc;
    const PageRecord* page = doc.page();
    if (page == nullptr) return;
    doc.currentStaff = std::clamp(staff, 0, std::max(static_cast<int>(page->staves.size()) - 1, 0));
    ctx.shell.cursor.x = x;
    MoveCursor(ctx, MoveSnap);
}

void AskAndDelete(EditorContext& ctx, bool toMarker) {
    LeaveEntryModes(ctx);
    ScoreDocument& doc = ctx.doc;
    if (doc.page() == nullptr) return;
    int& marker = ctx.shell.cursor.markerPage;
    if (!toMarker) marker = doc.currentPage;
    const int shown = toMarker ? (marker > doc.currentPage ? marker : doc.pageCount) : doc.currentPage;
    if (AskYesNo(ctx.ui, toMarker ? askDeleteToPage : askDeletePage, std::to_string(shown))) {
        DeletePagesFromCurrent(ctx);
    } else {
        marker = 0;
    }
    ctx.ui.invalidate();
}

}  // namespace

void DeletePagesFromCurrent(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    int& marker = ctx.shell.cursor.markerPage;
    const int first = doc.currentPage;
    if (doc.pageCount <= 1) {
        if (!RefuseDeletingCopySource(ctx, first)) RenewOnlyPage(ctx);
        marker = 0;
        return;
    }
    const int last = std::min(marker > 0 ? marker : doc.pageCount, doc.pageCount);
    int count = last - first + 1;
    if (count >= doc.pageCount) count = doc.pageCount - 1;  // one page always stays
    const int staff = doc.currentStaff;
    const int x = ctx.shell.cursor.x;
    int& copied = ctx.shell.copy.copy.page;
    for (int k = 0; k < count; ++k) {
        if (!GoToPage(ctx, first) || RefuseDeletingCopySource(ctx, first)) break;
        if (!DeletePageOfScore(doc, ctx.ui, first)) break;
        if (copied > first) --copied;  // the recorded source keeps pointing at its page
    }
    GoToPage(ctx, std::min(first, doc.pageCount));
    ComeBack(ctx, staff, x);
    doc.markModified();
    marker = 0;
    UpdateTitleBar(ctx);
}

void RegisterPageDeletionCommands(CommandRegistry& r) {
    r.addCommand(cmd::DeletePage, [](EditorContext& ctx, int) { AskAndDelete(ctx, false); },
                 UndoPolicy::StepInTemplateMode);
    r.addCommand(cmd::DeletePagesToMarker, [](EditorContext& ctx, int) { AskAndDelete(ctx, true); },
                 UndoPolicy::StepInTemplateMode);
}

}  // namespace notavera
