// Enter on the element at the cursor: a pending notehead shape, and the tools 300..304.
#include "edit/enter_key.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

class EnterKeyTest : public ::testing::Test {
protected:
    EnterKeyTest() {
        ctx.doc = test::NewDocument(1);
        ctx.doc.staff()->elements.push_back(test::NoteAt(60));
        ctx.doc.currentElement = 0;
        ctx.shell.cursor.x = 60;
    }
    ElementRecord& note() { return ctx.doc.staff()->elements[0]; }
    void enterWith(int tool) {
        ctx.shell.input.currentTool = tool;
        DispatchKey(ctx, Key::Enter, {});
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(EnterKeyTest, APendingHeadShapeGoesToTheNote) {
    ctx.doc.insertion.headShape = 3;
    enterWith(300);
    EXPECT_EQ(note().noteWord().headShape(), 3u);
    EXPECT_FALSE(note().w0().hidden());  // the shape took the key, not the tool
}

TEST_F(EnterKeyTest, TheHideToolTogglesWhatHideKindNames) {
    enterWith(300);
    EXPECT_TRUE(note().w0().hidden());
    enterWith(300);
    EXPECT_FALSE(note().w0().hidden());
    ctx.shell.input.hideKind = 2;
    enterWith(300);
    EXPECT_TRUE(note().noteWord().hiddenAccidental());
    ctx.shell.input.hideKind = 3;
    enterWith(300);
    EXPECT_TRUE(note().w0().hiddenDots());
}

TEST_F(EnterKeyTest, ASharpIsRespelledAsTheFlatOfTheNextDegree) {
    note().noteWord().setStep(7);
    note().w0().setOctave(4);
    note().noteWord().setAccidental(Accidental::Sharp);
    enterWith(301);
    EXPECT_EQ(note().noteWord().step(), 1u);
    EXPECT_EQ(note().w0().octave(), 5u);
    EXPECT_EQ(note().noteWord().accidental(), Accidental::Flat);
}

TEST_F(EnterKeyTest, TheHeadSideToolLeavesChordNotesAlone) {
    enterWith(302);
    EXPECT_TRUE(note().noteWord().bit(20));
    note().noteWord().setBit(18, true);
    enterWith(302);
    EXPECT_TRUE(note().noteWord().bit(20));
}

TEST_F(EnterKeyTest, NothingAwayFromTheCursor) {
    ctx.shell.cursor.x = 90;
    enterWith(300);
    EXPECT_FALSE(note().w0().hidden());
    EXPECT_FALSE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
