// Page Suivante, Page Précédente and Aller Page no: the page reached is shown from its first staff and element,
// a new page follows the last, page 1 has no previous page, and the page number typed is limited.
#include "shell/page_navigation.h"

#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

class PageNavigationTest : public ::testing::Test {
protected:
    PageNavigationTest() {
        b.on(2, 0).notes(200, 100, 2, 1);
        b.doc().modified = false;
        b.setCurrent(1, 1, -1);
        b.ctx().shell.cursor.x = 500;
        b.ctx().shell.documentReady = true;
    }
    void goTo(const std::string& typed, bool ok = true) {
        b.ui().queueDialogAnswer({.name = "PageNo", .fields = {{"282", typed}}, .ok = ok});
        DispatchCommand(b.ctx(), cmd::GoToPage);
    }
    int page() { return b.doc().currentPage; }

    test::ScoreBuilder b{3, 2, 1};
};

TEST_F(PageNavigationTest, NextAndPreviousShowThePageFromItsFirstElementAndCloseTheInsertionBox) {
    DispatchKey(b.ctx(), Key::Insert, {});
    b.ctx().shell.cursor.zoneRect.shown = true;
    DispatchCommand(b.ctx(), cmd::NextPage);
    EXPECT_EQ(page(), 2);
    EXPECT_EQ(b.doc().currentStaff, 0);
    EXPECT_EQ(b.doc().currentElement, 0);
    EXPECT_EQ(b.ctx().shell.cursor.x, 200);
    EXPECT_NE(b.ui().title().find("(p.2/3)"), std::string::npos) << b.ui().title();
    EXPECT_FALSE(b.ctx().shell.input.insertionOpen);
    EXPECT_FALSE(b.ctx().shell.cursor.zoneRect.shown);
    DispatchCommand(b.ctx(), cmd::PreviousPage);
    DispatchCommand(b.ctx(), cmd::PreviousPage);  // page 1 has none before it
    EXPECT_EQ(page(), 1);
}

TEST_F(PageNavigationTest, NextOnTheLastPageAddsAPage) {
    goTo("3");
    DispatchCommand(b.ctx(), cmd::NextPage);
    EXPECT_EQ(b.doc().pageCount, 4);
    EXPECT_EQ(page(), 4);
    EXPECT_EQ(b.doc().page()->staves.size(), 2u);
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(PageNavigationTest, TheNumberTypedIsLimitedToTheScoreAndCancelOrAMaskLeavesThePage) {
    const std::pair<const char*, int> typed[] = {{"3", 3}, {"0", 1}, {"abc", 1}, {"", 1}, {"300", 3}, {"1", 1}};
    for (const auto& [text, reached] : typed) {
        goTo("2");
        goTo(text);
        EXPECT_EQ(page(), reached) << text;
    }
    goTo("3", false);
    EXPECT_EQ(page(), 1);
    EXPECT_EQ(b.ui().dialogs().back(), "PageNo");
    b.ctx().shell.maskEditing = true;
    EXPECT_FALSE(ShowPage(b.ctx(), 2));
    EXPECT_EQ(page(), 1);
}

}  // namespace
}  // namespace notavera
