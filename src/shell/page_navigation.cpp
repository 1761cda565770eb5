// Page navigation commands and the showing of the page they reach.
#include "shell/page_navigation.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/dialog_model.h"
#include "score/mus_file.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/continuous_view.h"
#include "shell/cross_staff.h"
#include "shell/cursor_move.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"
#include "shell/page_insertion_commands.h"
#include "shell/title_bar.h"
#include "shell/zone.h"

namespace notavera {
namespace {

constexpr int currentPageStatic = 280;
constexpr int lastPageStatic = 281;
constexpr int pageNumberField = 282;

// The number the dialog's field starts with, as the dialog reads it: no leading number gives 0.
int LeadingNumber(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + first, text.data() + text.size(), value);
    (void)end;
    return error == std::errc{} ? value : 0;
}

DialogModel MakePageDialog(const ScoreDocument& doc) {
    DialogModel model("PageNo", "Aller Page no");
    model.addStatic(currentPageStatic, "Page actuelle:", std::to_string(doc.currentPage));
    model.addStatic(lastPageStatic, "Page finale:", std::to_string(doc.pageCount));
    model.addText(pageNumberField, "Aller page no:", std::to_string(std::min(doc.currentPage + 1, doc.pageCount)), 3);
    return model;
}

}  // namespace

void LeaveEntryModes(EditorContext& ctx) {
    if (ctx.shell.input.insertionOpen) DispatchKey(ctx, Key::Insert, {});
    ctx.shell.input.templateStaffMode = false;
}

bool GoToPage(EditorContext& ctx, int n) {
    ScoreDocument& doc = ctx.doc;
    const int target = std::clamp(n, 1, std::max(doc.pageCount, 1));
    const PageRecord* page = doc.findPage(target);
    // The window is only slid (and a modified window saved first) when the page is not in memory.
    if (page == nullptr) return MoveWindowTo(ctx.doc, ctx.ui, target) == FileOk;
    doc.currentPage = target;
    doc.currentStaff = 0;
    doc.currentElement = !page->staves.empty() && !page->staves[0].elements.empty() ? 0 : -1;
    return true;
}

bool ShowPage(EditorContext& ctx, int n) {
    if (ctx.shell.maskEditing || !GoToPage(ctx, n)) return false;
    PlaceStaff(ctx, PlaceForget);
    ctx.shell.cursor.x = DefaultCursorX(ctx.doc);
    MoveCursor(ctx, MoveSnap);
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
    return true;
}

void NextPage(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (ctx.shell.maskEditing || doc.page() == nullptr) return;
    if (doc.currentPage < doc.pageCount) {
        ShowPage(ctx, doc.currentPage + 1);
        return;
    }
    // The continuous view first shows the rest of its line.
    if (ctx.shell.view.continuousView) {
        const std::optional<PageRegion> shown = ctx.ui.shownArea();
        if (shown && shown->x1 < doc.continuousLineEnd) {
            ctx.ui.followView(ViewAction::PageRight);
            return;
        }
    }
    AppendPage(ctx, AppendMode::FromModel);
}

void PreviousPage(EditorContext& ctx) {
    if (ctx.doc.currentPage > 1) ShowPage(ctx, ctx.doc.currentPage - 1);
}

bool GoToPageNumber(EditorContext& ctx) {
    if (ctx.doc.page() == nullptr) return false;
    DialogModel model = MakePageDialog(ctx.doc);
    if (!ctx.ui.runDialog(model)) return false;
    const int typed = std::clamp(LeadingNumber(model.text(std::to_string(pageNumberField))), 1, maxPages);
    return ShowPage(ctx, typed);
}

void RegisterPageNavigationCommands(CommandRegistry& r) {
    r.addCommand(cmd::NextPage, [](EditorContext& ctx, int) {
        LeaveEntryModes(ctx);
        ClearZone(ctx);
        NextPage(ctx);
    });
    r.addCommand(cmd::PreviousPage, [](EditorContext& ctx, int) {
        LeaveEntryModes(ctx);
        ClearZone(ctx);
        PreviousPage(ctx);
    });
    r.addCommand(cmd::GoToPage, [](EditorContext& ctx, int) {
        LeaveEntryModes(ctx);
        GoToPageNumber(ctx);
    });
    RegisterPageInsertionCommands(r);
    RegisterContinuousViewCommand(r);
}

}  // namespace notavera
