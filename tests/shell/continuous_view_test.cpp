// The continuous view against the pages: it follows the setting each page records, shows the rest of its line
// before Page Suivante makes a new page, and counts the sheets scrolled past for the title bar.
#include "shell/continuous_view.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/page_navigation.h"

namespace notavera {
namespace {

struct ShowingUi : HeadlessUi {
    ShowingUi() : HeadlessUi(nullptr) {}
    std::optional<PageRegion> shownArea() const override { return shown; }
    PageRegion shown{.x0 = 0, .y0 = 0, .x1 = 2000, .y1 = 2970};
};

TEST(ContinuousViewPages, TheViewFollowsEachPagesSettingAndShowsItsLineBeforeANewPage) {
    ShowingUi ui;
    EditorContext ctx{ui};
    SetUpNewDocument(ctx.doc, 2);
    ctx.doc.header.continuousPages() = 2;
    const int width = ctx.doc.pageWidth;
    ShowPage(ctx, 2);
    EnterContinuousView(ctx);
    ASSERT_TRUE(ctx.shell.view.continuousView);
    EXPECT_EQ(ctx.doc.pageWidth, 2 * 1900 + 100);
    SetContinuousOffset(ctx, 2000);
    EXPECT_EQ(ctx.shell.view.continuousOffset, 1);

    NextPage(ctx);  // the last page: the rest of the line first
    EXPECT_EQ(ctx.doc.pageCount, 2);
    ASSERT_EQ(ui.viewActions().size(), 1U);
    EXPECT_EQ(ui.viewActions()[0], ViewAction::PageRight);

    ShowPage(ctx, 1);  // a page shown single
    FollowPageContinuousSetting(ctx);
    EXPECT_FALSE(ctx.shell.view.continuousView);
    EXPECT_EQ(ctx.doc.pageWidth, width);
    EXPECT_EQ(ctx.doc.lineEnd(*ctx.doc.page()), 1900);
    ShowPage(ctx, 2);  // the page left continuous is shown so again
    FollowPageContinuousSetting(ctx);
    EXPECT_TRUE(ctx.shell.view.continuousView);
    EXPECT_EQ(ctx.doc.lineEnd(*ctx.doc.page()), 3800);

    ui.shown.x1 = 3900;  // the whole line seen: a new page
    NextPage(ctx);
    EXPECT_EQ(ctx.doc.pageCount, 3);
}

}  // namespace
}  // namespace notavera
