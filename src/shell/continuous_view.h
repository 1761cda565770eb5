// The continuous view ("Page en continu"): the current page's first system shown as one long line several sheets
// wide, so that a long line of music can be written and read without turning pages.
#pragma once

#include "render/page_pass.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Shows the current page as one line: its length multiplied by the document's "Pages en continu" count, the page
// widened to the line and a margin. The page records that it is shown so. Nothing without a page, while a mask is edited or when already shown.
void EnterContinuousView(EditorContext& ctx);
// Back to single pages: the page's own line and width, and the view's offset cleared. The current page no longer
// records the view, even when the view was already off (a page an undo brought back may still record it).
void LeaveContinuousView(EditorContext& ctx);
// The view follows the current page's own setting when they disagree, as the window shows another page.
void FollowPageContinuousSetting(EditorContext& ctx);
// The whole pages between the line's start and x, shown in the title bar beside the page number.
void SetContinuousOffset(EditorContext& ctx, int x);
// What the window draws the page with: the line's page separators in the continuous view.
PageDrawOptions WindowDrawOptions(const EditorContext& ctx);

// cmd::ContinuousPage, checked while the view is on.
void RegisterContinuousViewCommand(CommandRegistry& registry);

}  // namespace notavera
