// Page Suivante, Page Précédente and Aller Page no: the page reached is shown from its first staff and element,
// a new page follows the last, page 1 has no previous page, and the page number typed is limited.
#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "shell/page_navigation.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

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
        DispatchCommand(b.ctx(), goToPageCommand);
    }

    ScoreBuilder b{3, 2, 1};
};

TEST_F(PageNavigationTest, NextAndPreviousShowThePageFromItsFirstElement) {
    DispatchCommand(b.ctx(), nextPageCommand);
    EXPECT_EQ(b.doc().currentPage, 2);
    EXPECT_EQ(b.doc().currentStaff, 0);
    EXPECT_EQ(b.doc().currentElement, 0);
    EXPECT_EQ(b.ctx().shell.cursor.x, 200);
    EXPECT_NE(b.ui().title().find("(p.2/3)"), std::string::npos) << b.ui().title();
    DispatchCommand(b.ctx(), previousPageCommand);
    EXPECT_EQ(b.doc().currentPage, 1);
    DispatchCommand(b.ctx(), previousPageCommand);  // page 1 has none before it
    EXPECT_EQ(b.doc().currentPage, 1);
}

TEST_F(PageNavigationTest, NextOnTheLastPageAddsAPage) {
    goTo("3");
    DispatchCommand(b.ctx(), nextPageCommand);
    EXPECT_EQ(b.doc().pageCount, 4);
    EXPECT_EQ(b.doc().currentPage, 4);
    EXPECT_EQ(b.doc().page()->staves.size(), 2u);
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(PageNavigationTest, NavigationClosesTheInsertionBoxAndClearsTheRegion) {
    DispatchKey(b.ctx(), Key::Insert, {});
    ASSERT_TRUE(b.ctx().shell.input.insertionOpen);
    b.ctx().shell.cursor.zoneRect.shown = true;
    DispatchCommand(b.ctx(), nextPageCommand);
    EXPECT_FALSE(b.ctx().shell.input.insertionOpen);
    EXPECT_FALSE(b.ctx().shell.cursor.zoneRect.shown);
}

struct Typed {
    std::string text;
    int page;
};

class GoToPageTest : public PageNavigationTest, public ::testing::WithParamInterface<Typed> {};

TEST_P(GoToPageTest, TheNumberTypedIsLimitedToTheScore) {
    goTo("2");
    goTo(GetParam().text);
    EXPECT_EQ(b.doc().currentPage, GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(Texts, GoToPageTest,
                         ::testing::Values(Typed{"3", 3}, Typed{"0", 1}, Typed{"abc", 1}, Typed{"", 1},
                                           Typed{"300", 3}, Typed{"1", 1}));

TEST_F(PageNavigationTest, ACancelledDialogLeavesThePage) {
    goTo("3", false);
    EXPECT_EQ(b.doc().currentPage, 1);
    ASSERT_FALSE(b.ui().dialogs().empty());
    EXPECT_EQ(b.ui().dialogs().back(), "PageNo");
}

TEST_F(PageNavigationTest, WhileAMaskIsEditedThePageStays) {
    b.ctx().shell.maskEditing = true;
    EXPECT_FALSE(ShowPage(b.ctx(), 2));
    EXPECT_EQ(b.doc().currentPage, 1);
}

}  // namespace
}  // namespace notavera
