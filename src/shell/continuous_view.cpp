// The continuous view: entering and leaving it, the page's record of it, and what the window draws with it.
#include "shell/continuous_view.h"

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

}  // namespace

void EnterContinuousView(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    ViewState& view = ctx.shell.view;
    PageRecord* page = doc.page();
    if (page == nullptr || ctx.shell.maskEditing || view.continuousView) return;
    view.continuous = EnterContinuousPages(static_cast<int>(page->lineLength & 0xFFFFFFu), doc.header.continuousPages());
    view.continuousView = true;
    view.continuousOffset = 0;
    page->layoutWord().setContinuousCount(static_cast<unsigned>(view.continuous.pages));
    doc.continuousLineEnd = view.continuous.lineEnd;
    doc.pageWidth = view.continuous.pageWidth;
    Refresh(ctx);
}

void LeaveContinuousView(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    ViewState& view = ctx.shell.view;
    if (PageRecord* page = doc.page()) page->layoutWord().setContinuousCount(0);
    if (!view.continuousView) return;
    view.continuousView = false;
    view.continuousOffset = 0;
    doc.continuousLineEnd = 0;
    applyPageSize(doc);
    Refresh(ctx);
}

void FollowPageContinuousSetting(EditorContext& ctx) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || ctx.shell.maskEditing) return;
    const bool shown = page->layoutWord().continuousCount() != 0;
    if (shown == ctx.shell.view.continuousView) return;
    if (shown) {
        EnterContinuousView(ctx);
        return;
    }
    // The page left was shown continuous; the one reached is not, and keeps its own line.
    ViewState& view = ctx.shell.view;
    view.continuousView = false;
    view.continuousOffset = 0;
    ctx.doc.continuousLineEnd = 0;
    applyPageSize(ctx.doc);
}

void SetContinuousOffset(EditorContext& ctx, int x) {
    ViewState& view = ctx.shell.view;
    const int offset = view.continuousView && view.continuous.pageStep > 0 && x > 0 ? x / view.continuous.pageStep : 0;
    if (offset == view.continuousOffset) return;
    view.continuousOffset = offset;
    UpdateTitleBar(ctx);
}

PageDrawOptions WindowDrawOptions(const EditorContext& ctx) {
    PageDrawOptions options;
    if (ctx.shell.view.continuousView) options.continuous = ctx.shell.view.continuous;
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
