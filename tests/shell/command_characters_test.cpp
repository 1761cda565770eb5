// The characters J and \ and the command 85: justification up to marker X as command 221, and the template
// staff refused while the insertion box is open.
#include "shell/command_characters.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class CommandCharactersTest : public ::testing::Test {
protected:
    CommandCharactersTest() {
        ctx.doc = test::NewDocument(1);
        ctx.shell.cursor.x = 60;
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(CommandCharactersTest, BackslashKeepsThePlaceForUpAndDownToComeBackTo) {
    ctx.doc.currentStaff = 2;
    ctx.doc.currentElement = -1;
    DispatchChar(ctx, '\\');
    EXPECT_TRUE(ctx.shell.input.templateStaffMode);
    EXPECT_EQ(ctx.shell.cursor.templateSavedStaff, 2);
    EXPECT_EQ(ctx.shell.cursor.templateSavedElement, -1);
    // A second \ keeps the first place.
    ctx.doc.currentStaff = 5;
    DispatchChar(ctx, '\\');
    EXPECT_EQ(ctx.shell.cursor.templateSavedStaff, 2);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(CommandCharactersTest, Command85SendsTheBackslash) {
    DispatchCommand(ctx, 85);
    EXPECT_TRUE(ctx.shell.input.templateStaffMode);
}

TEST_F(CommandCharactersTest, WhileTheInsertionBoxIsOpenTheTemplateStaffIsRefused) {
    DispatchKey(ctx, Key::Insert, {});
    ASSERT_TRUE(ctx.shell.input.insertionOpen);
    DispatchChar(ctx, '\\');
    DispatchCommand(ctx, 85);
    EXPECT_FALSE(ctx.shell.input.templateStaffMode);
    ASSERT_EQ(ui.messages().size(), 2u);
    for (const MessageBoxRequest& m : ui.messages()) {
        EXPECT_EQ(m.stringId, 16);
        EXPECT_EQ(m.text, "Fermez INSertion d'abord");
        EXPECT_EQ(m.caption, "Message");
    }
}

// J must leave the document exactly as command 221 does, with and without marker X.
TEST_F(CommandCharactersTest, JJustifiesAsCommand221) {
    for (const int markerX : {0, 1500}) {
        HeadlessUi otherUi{nullptr};
        EditorContext other{otherUi};
        for (EditorContext* c : {&ctx, &other}) {
            c->doc = test::NewDocument(1);
            c->shell.cursor.x = 60;
            for (const Key k : {Key::F2, Key::F3, Key::F4, Key::F5}) DispatchKey(*c, k, {});
            c->shell.cursor.markerX = markerX;
        }
        const int beepsBefore = ui.beeps();
        DispatchChar(ctx, 'J');
        DispatchCommand(other, 221);
        const auto& a = ctx.doc.staff()->elements;
        const auto& b = other.doc.staff()->elements;
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].x, b[i].x) << markerX << " " << i;
        EXPECT_EQ(ui.beeps() - beepsBefore, otherUi.beeps());
    }
}

}  // namespace
}  // namespace notavera
