// Staves inserted and deleted on the current page, with the page limit and the template kept in step.
#include "edit/staff_insertion.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/staff_commands.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class StaffInsertionTest : public ::testing::Test {
protected:
    StaffInsertionTest() { ctx.doc = test::NewDocument(1); }
    PageRecord& page() { return *ctx.doc.page(); }
    int lastMessage() const { return ui.messages().empty() ? 0 : ui.messages().back().stringId; }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(StaffInsertionTest, AStaffGoesBelowTheOneAboveAndTheTemplateFollows) {
    page().staves[1].elements.push_back(test::NoteAt(100));
    const std::size_t before = page().staves.size();
    ASSERT_TRUE(InsertStaffBelow(ctx.doc, ui, 0));
    EXPECT_EQ(page().staves.size(), before + 1);
    EXPECT_TRUE(page().staves[1].elements.empty());
    EXPECT_EQ(page().staves[2].elements.size(), 1u);  // the music below moved down with its staff
    EXPECT_EQ(ctx.doc.layoutModel.staffCount(), before + 1);
    EXPECT_EQ(page().layoutWord().staffCount(), before + 1);
    EXPECT_EQ(page().staves[2].key().index(), 2u);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(StaffInsertionTest, AFullPageRefusesAnotherStaffWithMessage56) {
    while (page().staves.size() < static_cast<std::size_t>(maxStavesPerPage))
        ASSERT_TRUE(InsertStaffBelow(ctx.doc, ui, 0));
    ctx.doc.modified = false;
    EXPECT_FALSE(InsertStaffBelow(ctx.doc, ui, 3));
    EXPECT_EQ(lastMessage(), 56);
    EXPECT_EQ(ui.messages().back().text, "Nombre maximum de portées atteint");
    EXPECT_EQ(page().staves.size(), static_cast<std::size_t>(maxStavesPerPage));
    EXPECT_FALSE(ctx.doc.modified);
}

TEST_F(StaffInsertionTest, AClickAboveTheFirstStaffIsRefusedWithMessage73) {
    const std::size_t before = page().staves.size();
    EXPECT_FALSE(InsertStaffBelow(ctx.doc, ui, -1));
    EXPECT_EQ(lastMessage(), 73);
    EXPECT_EQ(page().staves.size(), before);
}

TEST_F(StaffInsertionTest, TheDollarCharacterInsertsBelowTheCurrentStaff) {
    ctx.doc.currentStaff = 2;
    const std::size_t before = page().staves.size();
    DispatchChar(ctx, '$');
    EXPECT_EQ(page().staves.size(), before + 1);
    EXPECT_EQ(ctx.doc.currentStaff, 2);
}

TEST_F(StaffInsertionTest, AStaffWithMusicIsNotDeleted) {
    ctx.doc.currentStaff = 1;
    page().staves[1].elements.push_back(test::NoteAt(100));
    const std::size_t before = page().staves.size();
    DispatchCommand(ctx, 498);
    EXPECT_EQ(lastMessage(), 74);
    EXPECT_EQ(page().staves.size(), before);
    page().staves[1].elements.clear();
    DispatchCommand(ctx, 498);
    EXPECT_EQ(page().staves.size(), before - 1);
    EXPECT_EQ(ctx.doc.layoutModel.staffCount(), before - 1);
}

TEST_F(StaffInsertionTest, Command497WaitsForAClick) {
    DispatchCommand(ctx, 497);
    EXPECT_EQ(ctx.shell.input.mouseMode, insertStaffMouseMode);
}

}  // namespace
}  // namespace notavera
