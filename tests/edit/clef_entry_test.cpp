// Clefs from the "Clefs" menu: their numbers, the replacement of a clef at the cursor and the cursor after them.
#include "edit/clef_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class ClefEntryTest : public ::testing::Test {
protected:
    ClefEntryTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }
    const std::vector<ElementRecord>& elements() { return ctx.doc.staff()->elements; }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

struct ClefCase {
    int command;
    unsigned clef;
};

class ClefCommandTest : public ClefEntryTest, public ::testing::WithParamInterface<ClefCase> {};

TEST_P(ClefCommandTest, InsertsItsClefNumber) {
    DispatchCommand(ctx, static_cast<std::uint32_t>(GetParam().command));
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_TRUE(elements()[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(elements()[0].signWord().code(), GetParam().clef);
    EXPECT_EQ(elements()[0].x, 60);
}

INSTANTIATE_TEST_SUITE_P(Menu, ClefCommandTest,
                         ::testing::Values(ClefCase{201, 1}, ClefCase{200, 2}, ClefCase{202, 3}, ClefCase{203, 4},
                                           ClefCase{205, 5}, ClefCase{206, 6}, ClefCase{208, 7}, ClefCase{207, 8},
                                           ClefCase{209, 9}, ClefCase{204, 10}, ClefCase{585, 11},
                                           ClefCase{594, 12}));

TEST_F(ClefEntryTest, AClefLastOnTheStaffMovesTheCursorByTheClefDistance) {
    DispatchCommand(ctx, 202);
    EXPECT_EQ(ctx.shell.cursor.x, 60 + ctx.shell.settings.distanceSteps.afterClef * ctx.doc.spacingStep);
}

TEST_F(ClefEntryTest, AClefAtTheCursorIsReplaced) {
    DispatchCommand(ctx, 201);
    ctx.shell.cursor.x = 60;
    ctx.doc.currentElement = 0;
    DispatchCommand(ctx, 202);
    ASSERT_EQ(elements().size(), 1u);
    EXPECT_EQ(elements()[0].signWord().code(), 3u);
}

TEST_F(ClefEntryTest, AClefBeforeMusicSendsTheCursorToTheNextElement) {
    DispatchKey(ctx, Key::F2, {});
    const int noteX = elements()[0].x;
    ctx.shell.cursor.x = 40;
    ctx.doc.currentElement = -1;
    DispatchCommand(ctx, 202);
    ASSERT_EQ(elements().size(), 2u);
    EXPECT_TRUE(elements()[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(ctx.shell.cursor.x, noteX);
    EXPECT_EQ(ctx.doc.currentElement, 1);
}

TEST_F(ClefEntryTest, NothingHappensWhileWorkingFromANeighbourStaff) {
    ctx.doc.insertion.word0Flags = 1u << 14;
    DispatchCommand(ctx, 201);
    EXPECT_TRUE(elements().empty());
}

}  // namespace
}  // namespace notavera
