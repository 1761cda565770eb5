// Mask editing: the fixed and variable mask pages, entered and left in place of the current page, erased, and
// hidden page by page.
#include "print/mask_editing.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST_F(MaskEditingTest, TracingCopiesTheShownMasksIntoThePageInOrderAndHidesThem) {
    const auto xs = [](const StaffRecord& staff) {
        std::vector<int> out;
        for (const ElementRecord& e : staff.elements) out.push_back(e.x + (e.param == 7 ? 1000 : 0));
        return out;
    };
    EXPECT_EQ(MasksShownOnPage(ctx.doc), 0);
    EXPECT_EQ(TraceMasks(ctx), 0);
    for (const int command : {cmd::EditFixedMask, cmd::EditVariableMask}) {
        EnterMaskEditing(ctx, command);
        for (const int x : {80, 200}) {
            ElementRecord& e = ctx.doc.page()->staves[4].elements.emplace_back();
            e.x = x, e.param = 7;  // marks what came from a mask
        }
        EXPECT_EQ(MasksShownOnPage(ctx.doc), 0);  // none under a mask
        LeaveMaskEditing(ctx);
    }
    ToggleMaskFlag(ctx, cmd::WithoutVariableMask);
    EXPECT_EQ(MasksShownOnPage(ctx.doc), block_flag::fixedMask);
    for (const int x : {80, 150}) ctx.doc.page()->staves[4].elements.emplace_back().x = x;
    ctx.doc.currentElement = 1;
    ASSERT_EQ(TraceMasks(ctx), 1);
    EXPECT_EQ(xs(ctx.doc.page()->staves[4]), (std::vector<int>{80, 1080, 150, 1200}));
    EXPECT_EQ(ctx.doc.currentElement, 2);  // still on the note at 150
    EXPECT_TRUE(ctx.doc.page()->layoutWord().withoutFixedMask());
    EXPECT_EQ(MasksShownOnPage(ctx.doc), 0);
    EXPECT_EQ(TraceMasks(ctx), 0);  // the hidden variable mask is not traced
}

}  // namespace
}  // namespace notavera
