// The continuous view: entering and leaving it, the page's record of it, and what the window draws with it.
#include "shell/continuous_view.h"

#include <optional>

#include "render/geometry.h"
#include "score/page_size.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

void Refresh(EditorContext& ctx) {
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
}

// The line the current page is shown as, from its own line length and the sheets it records.
std::optional<ContinuousGeometry> ShownLine(const EditorContext& ctx) {
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    if (!ctx.shell.view.continuousView || page == nullptr) return std::nullopt;
    return EnterContinuousPages(static_cast<int>(page->lineLength & 0xFFFFFFu),
                                static_cast<int>(page->layoutWord().continuousCount()));
}

// The view's single-page state: no offset, and the page format's own width.
void ShowSinglePages(EditorContext& ctx) {
    ctx.shell.view.continuousView = false;
    ctx.shell.view.continuousOffset = 0;
    ctx.doc.continuousLineEnd = 0;
    applyPageSize(ctx.doc);
}

}  // namespace

void EnterContinuousView(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    ViewState& view = ctx.shell.view;
    PageRecord* page = doc.page();
    if (page == nullptr || ctx.shell.maskEditing || view.continuousView) return;
    const ContinuousGeometry line =
        EnterContinuousPages(static_cast<int>(page->lineLength & 0xFFFFFFu), doc.header.continuousPages());
    view.continuousView = true;
    view.continuousOffset = 0;
    page->layoutWord().setContinuousCount(static_cast<unsigned>(line.pages));
    doc.continuousLineEnd = line.lineEnd;
    doc.pageWidth = line.pageWidth;
    Refresh(ctx);
}

void LeaveContinuousView(EditorContext& ctx) {
    if (PageRecord* page = ctx.doc.page()) page->layoutWord().setContinuousCount(0);
    if (!ctx.shell.view.continuousView) return;
    ShowSinglePages(ctx);
    Refresh(ctx);
}

void FollowPageContinuousSetting(EditorContext& ctx) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || ctx.shell.maskEditing) return;
    const bool shown = page->layoutWord().continuousCount() != 0;
    if (shown == ctx.shell.view.continuousView) return;
    // The page left was shown continuous and the one reached is not: it keeps its own line.
    if (shown)
        EnterContinuousView(ctx);
    else
        ShowSinglePages(ctx);
}

void SetContinuousOffset(EditorContext& ctx, int x) {
    ViewState& view = ctx.shell.view;
    const std::optional<ContinuousGeometry> line = ShownLine(ctx);
    const int offset = line && line->pageStep > 0 && x > 0 ? x / line->pageStep : 0;
    if (offset == view.continuousOffset) return;
    view.continuousOffset = offset;
    UpdateTitleBar(ctx);
}

PageDrawOptions WindowDrawOptions(const EditorContext& ctx) {
    PageDrawOptions options;
    options.continuous = ShownLine(ctx);
    return options;
}

void RegisterContinuousViewCommand(CommandRegistry& registry) {
    registry.addCommand(cmd::ContinuousPage, [](EditorContext& ctx, int) {
        if (ctx.shell.view.continuousView)
            LeaveContinuousView(ctx);
        else
            EnterContinuousView(ctx);
    });
}

}  // namespace notavera
