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
        ctx.doc.currentElement = -1;
    }
    std::uint8_t flags() { return ctx.doc.header.blockFlags(); }
};

TEST_F(MaskEditingTest, EnteringMakesAMissingMaskPageAndWorksOnIt) {
    ASSERT_EQ(EnterMaskEditing(ctx, mask_command::editFixed), 1);
    ASSERT_TRUE(ctx.doc.optional.fixedMask);
    EXPECT_EQ(ctx.doc.optional.fixedMask->staves.size(), 10U);
    EXPECT_NE(flags() & block_flag::fixedMask, 0);
    EXPECT_EQ(flags() & block_flag::variableMask, 0);
    EXPECT_TRUE(ctx.shell.maskEditing);
    EXPECT_EQ(ctx.doc.page(), ctx.doc.optional.fixedMask.get());
    EXPECT_EQ(ctx.doc.currentStaff, 0);
    ctx.doc.staff()->elements.emplace_back().x = 80;

    ASSERT_EQ(LeaveMaskEditing(ctx), 1);
    EXPECT_FALSE(ctx.shell.maskEditing);
    EXPECT_EQ(ctx.doc.currentPage, 2);
    EXPECT_EQ(ctx.doc.currentStaff, 4);
    EXPECT_EQ(ctx.doc.page()->number, 2U);
    EXPECT_EQ(ctx.doc.findPage(0), nullptr);  // page 0 is a mask only while one is edited

    ASSERT_EQ(EnterMaskEditing(ctx, mask_command::editFixed), 1);
    EXPECT_EQ(ctx.doc.page()->staves[0].elements.size(), 1U);  // the mask that exists is kept
    EXPECT_EQ(ctx.doc.currentElement, 0);
}

TEST_F(MaskEditingTest, TheVariableMaskIsAPageOfItsOwn) {
    ASSERT_EQ(EnterMaskEditing(ctx, mask_command::editVariable), 1);
    EXPECT_EQ(ctx.doc.page(), ctx.doc.optional.variableMask.get());
    EXPECT_FALSE(ctx.doc.optional.fixedMask);
    EXPECT_NE(flags() & block_flag::variableMask, 0);
}

TEST_F(MaskEditingTest, OneMaskAtATimeAndNoneInTheContinuousView) {
    ASSERT_EQ(EnterMaskEditing(ctx, mask_command::editFixed), 1);
    EXPECT_EQ(EnterMaskEditing(ctx, mask_command::editVariable), 0);
    EXPECT_EQ(ctx.doc.page(), ctx.doc.optional.fixedMask.get());
    LeaveMaskEditing(ctx);
    EXPECT_EQ(LeaveMaskEditing(ctx), 0);
    EXPECT_EQ(ctx.doc.currentPage, 2);
    ctx.shell.view.continuousView = true;
    EXPECT_EQ(EnterMaskEditing(ctx, mask_command::editFixed), 0);
    EXPECT_EQ(EnterMaskEditing(ctx, 999), 0);
}

TEST_F(MaskEditingTest, ErasingFreesTheMaskButNotWhileItIsEdited) {
    EXPECT_EQ(EraseMask(ctx, mask_command::eraseFixed), 0);  // none yet
    EnterMaskEditing(ctx, mask_command::editFixed);
    EXPECT_EQ(EraseMask(ctx, mask_command::eraseFixed), 0);
    EXPECT_TRUE(ctx.doc.optional.fixedMask);
    LeaveMaskEditing(ctx);
    EnterMaskEditing(ctx, mask_command::editVariable);
    EXPECT_EQ(EraseMask(ctx, mask_command::eraseFixed), 1);  // the other mask may go
    EXPECT_FALSE(ctx.doc.optional.fixedMask);
    EXPECT_EQ(flags() & block_flag::fixedMask, 0);
    EXPECT_NE(flags() & block_flag::variableMask, 0);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(MaskEditingTest, PageFlagsHideEachMaskOnTheCurrentPage) {
    ASSERT_EQ(ToggleMaskFlag(ctx, mask_command::withoutFixed), 1);
    EXPECT_TRUE(ctx.doc.page()->layoutWord().withoutFixedMask());
    EXPECT_FALSE(ctx.doc.page()->layoutWord().withoutVariableMask());
    ToggleMaskFlag(ctx, mask_command::withoutVariable);
    ToggleMaskFlag(ctx, mask_command::withoutFixed);
    EXPECT_FALSE(ctx.doc.page()->layoutWord().withoutFixedMask());
    EXPECT_TRUE(ctx.doc.page()->layoutWord().withoutVariableMask());
    EXPECT_FALSE(ctx.doc.findPage(1)->layoutWord().withoutVariableMask());
    EXPECT_TRUE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
