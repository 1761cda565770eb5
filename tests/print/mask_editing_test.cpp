// Mask editing: the fixed and variable mask pages, entered and left in place of the current page, erased, and
// hidden page by page.
#include "print/mask_editing.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

struct MaskEditingTest : ::testing::Test {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    void SetUp() override {
        SetUpNewDocument(ctx.doc, 3);
        ctx.doc.currentPage = 2;
        ctx.doc.currentStaff = 4;
    }
    int masks() { return ctx.doc.header.blockFlags() & (block_flag::fixedMask | block_flag::variableMask); }
};

TEST_F(MaskEditingTest, EnteringMakesAMissingMaskPageWorksOnItAndLeavesToThePage) {
    ASSERT_EQ(EnterMaskEditing(ctx, cmd::EditFixedMask), 1);
    ASSERT_TRUE(ctx.doc.optional.fixedMask);
    EXPECT_EQ(ctx.doc.optional.fixedMask->staves.size(), 10U);
    EXPECT_EQ(masks(), block_flag::fixedMask);
    EXPECT_TRUE(ctx.shell.maskEditing);
    EXPECT_EQ(ctx.doc.page(), ctx.doc.optional.fixedMask.get());
    EXPECT_EQ(ctx.doc.currentStaff, 0);
    ctx.doc.staff()->elements.emplace_back().x = 80;
    EXPECT_EQ(EnterMaskEditing(ctx, cmd::EditVariableMask), 0);  // one mask at a time
    ASSERT_EQ(LeaveMaskEditing(ctx), 1);
    EXPECT_FALSE(ctx.shell.maskEditing);
    EXPECT_EQ(ctx.doc.currentPage, 2);
    EXPECT_EQ(ctx.doc.currentStaff, 4);
    EXPECT_EQ(ctx.doc.page()->number, 2U);
    EXPECT_EQ(ctx.doc.findPage(0), nullptr);  // page 0 is a mask only while one is edited
    EXPECT_EQ(LeaveMaskEditing(ctx), 0);
    ASSERT_EQ(EnterMaskEditing(ctx, cmd::EditFixedMask), 1);
    EXPECT_EQ(ctx.doc.page()->staves[0].elements.size(), 1U);  // the mask that exists is kept
    EXPECT_EQ(ctx.doc.currentElement, 0);
    LeaveMaskEditing(ctx);
    ASSERT_EQ(EnterMaskEditing(ctx, cmd::EditVariableMask), 1);  // a page of its own
    EXPECT_EQ(ctx.doc.page(), ctx.doc.optional.variableMask.get());
    EXPECT_EQ(masks(), block_flag::fixedMask | block_flag::variableMask);
    LeaveMaskEditing(ctx);
    ctx.shell.view.continuousView = true;
    EXPECT_EQ(EnterMaskEditing(ctx, cmd::EditFixedMask), 0);  // none in the continuous view
    EXPECT_EQ(EnterMaskEditing(ctx, 999), 0);
}

TEST_F(MaskEditingTest, ErasingFreesTheMaskButNotWhileItIsEdited) {
    EXPECT_EQ(EraseMask(ctx, cmd::EraseFixedMask), 0);  // none yet
    EnterMaskEditing(ctx, cmd::EditFixedMask);
    EXPECT_EQ(EraseMask(ctx, cmd::EraseFixedMask), 0);
    EXPECT_TRUE(ctx.doc.optional.fixedMask);
    LeaveMaskEditing(ctx);
    EnterMaskEditing(ctx, cmd::EditVariableMask);
    EXPECT_EQ(EraseMask(ctx, cmd::EraseFixedMask), 1);  // the other mask may go
    EXPECT_FALSE(ctx.doc.optional.fixedMask);
    EXPECT_EQ(masks(), block_flag::variableMask);
    EXPECT_TRUE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
