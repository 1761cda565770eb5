// The cursor keys on a small score: Home forms, element and free steps, staff wraps, the template
// staff, the octave keys, the line's x limit, the note echo and the Ctrl forms (snapping is seen with the mouse).
#include "shell/cursor_frame.h"

#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

// One page of three staves; staves 0 and 1 hold notes at 200, 300, 400, staff 2 is empty.
class CursorTest : public ::testing::Test {
protected:
    CursorTest() {
        b.on(1, 0).notes(200, 100, 3, 1);
        b.on(1, 1).notes(200, 100, 3, 5);
        b.setCurrent(1, 0, 0);
        cursor().x = 200;
        frame = *CursorFrameOf(b.doc());
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }
    void key(Key k, KeyModifiers m = {}) { DispatchKey(b.ctx(), k, m); }
    // Where the cursor stands: staff, element and x.
    std::tuple<int, int, int> at() { return {b.doc().currentStaff, b.doc().currentElement, cursor().x}; }
    ViewAction lastView() { return b.ui().viewActions().empty() ? ViewAction::None : b.ui().viewActions().back(); }

    test::ScoreBuilder b{1, 3, 3};
    CursorFrame frame;
};

TEST_F(CursorTest, HomeThenLeftGoesToTheStaffStartUnlessAnotherKeyCameBetween) {
    key(Key::Home);
    key(Key::Space);  // forgets the Home
    EXPECT_FALSE(cursor().pendingHome);
    key(Key::Left);
    EXPECT_EQ(cursor().x, 200);  // back onto the first note
    key(Key::Home);
    EXPECT_EQ(cursor().x, 200);  // Home alone moves nothing
    key(Key::Left);
    EXPECT_EQ(at(), std::tuple(0, 0, frame.staffStart[0]));
    EXPECT_FALSE(cursor().pendingHome);
    EXPECT_EQ(lastView(), ViewAction::FullyLeft);
}

TEST_F(CursorTest, RightWalksTheElementsThenFreeSpaceThenTheNextStaffAndLeftComesBack) {
    key(Key::Right);
    key(Key::Right);
    EXPECT_EQ(cursor().x, 400);
    key(Key::Right);
    EXPECT_EQ(at(), std::tuple(0, 2, 400 + frame.freeStep));
    key(Key::Left);
    EXPECT_EQ(at(), std::tuple(0, 2, 400));
    for (int i = 0; i < 100 && cursor().x < frame.lineLength; ++i) key(Key::Right);
    EXPECT_EQ(at(), std::tuple(0, 2, frame.lineLength));  // never beyond the line
    key(Key::Right);
    EXPECT_EQ(at(), std::tuple(1, 0, 200));
    cursor().x = 0;
    key(Key::Left);  // from x 0 to the last element of the staff above
    EXPECT_EQ(at(), std::tuple(0, 2, 400));
    b.setCurrent(1, 0, 0);
    cursor().x = 0;
    key(Key::Left);  // the first staff has none above
    EXPECT_EQ(at(), std::tuple(0, 0, 0));
    cursor().x = 200;
    key(Key::Left);  // before the first element: free steps, never below 0
    EXPECT_EQ(cursor().x, 200 - frame.freeStep);
    for (int i = 0; i < 20; ++i) key(Key::Backspace);
    EXPECT_EQ(cursor().x, 0);
}

TEST_F(CursorTest, AnElementBeyondTheLineBeepsWhenReached) {
    b.on(1, 0).note(frame.lineLength + 40, 1);
    b.setCurrent(1, 0, 2);
    cursor().x = 400;
    key(Key::Right);
    EXPECT_EQ(cursor().x, frame.lineLength + 40);
    EXPECT_EQ(b.ui().beeps(), 1);
}

TEST_F(CursorTest, TheArrowsSoundTheNoteTheyLandOnWhenTheEchoIsOn) {
    std::vector<int> heard;  // the x of each note sounded
    b.ctx().soundNote = [&](const ElementRecord& note) { heard.push_back(note.x); };
    for (const Key k : {Key::Right, Key::Right, Key::Right, Key::Left, Key::Backspace, Key::Space}) key(k);
    EXPECT_EQ(heard, (std::vector<int>{300, 400, 400}));  // free space and the other keys sound nothing
    b.ctx().shell.settings.keyboardEcho = -1;
    key(Key::Left);
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(CursorTest, UpAndDownKeepTheColumnStopAtTheEdgesAndWaitForTheInsertionBox) {
    b.setCurrent(1, 0, 1);
    cursor().x = 300;
    key(Key::Down);
    EXPECT_EQ(at(), std::tuple(1, 1, 300));
    key(Key::Down);
    // An empty staff puts the cursor where a first note goes, level with the first notes of the staves above.
    EXPECT_EQ(at(), std::tuple(2, -1, b.doc().defaultFirstX));
    key(Key::Down);
    EXPECT_EQ(b.doc().currentStaff, 2);
    for (int i = 0; i < 3; ++i) key(Key::Up);
    EXPECT_EQ(b.doc().currentStaff, 0);
    EXPECT_EQ(cursor().y, static_cast<int>(frame.staffY[0]));
    b.ctx().shell.input.insertionOpen = true;
    key(Key::Down);
    EXPECT_EQ(b.doc().currentStaff, 0);
    b.ctx().shell.input.insertionOpen = false;
    key(Key::Home);
    key(Key::Down);
    EXPECT_EQ(b.doc().currentStaff, 2);
    EXPECT_EQ(lastView(), ViewAction::Bottom);
    key(Key::Home);
    key(Key::Up);
    EXPECT_EQ(b.doc().currentStaff, 0);
    EXPECT_EQ(lastView(), ViewAction::Top);
}

TEST_F(CursorTest, UpSetsTheOctaveFromTheClefAndDropsTheStaffAttributesOrLeavesTheTemplateStaff) {
    b.doc().insertion.switches = SwitchGroup | SwitchT | SwitchBeam;
    b.doc().insertion.octave = 6;
    b.setCurrent(1, 1, 0);
    key(Key::Up);
    EXPECT_EQ(b.doc().insertion.switches & (SwitchGroup | SwitchT), 0u);
    EXPECT_EQ(b.doc().insertion.octave, 4u);  // no clef on the staff: octave 0
    b.ctx().shell.input.templateStaffMode = true;
    cursor().templateSavedStaff = 1;
    cursor().templateSavedElement = 2;
    b.setCurrent(1, 2, -1);
    cursor().x = 200;
    key(Key::Up);
    EXPECT_FALSE(b.ctx().shell.input.templateStaffMode);
    EXPECT_EQ(at(), std::tuple(1, 2, 200));  // nothing else moved
    b.ctx().shell.input.templateStaffMode = true;
    key(Key::Right);  // a step along the template staff keeps it
    EXPECT_TRUE(b.ctx().shell.input.templateStaffMode);
    key(Key::Down);
    EXPECT_FALSE(b.ctx().shell.input.templateStaffMode);
}

TEST_F(CursorTest, PageUpFiveTimesFromZeroGivesOneTwoThreeTwoThree) {
    b.doc().insertion.octave = 4;
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        key(Key::PageUp);
        seen.push_back(static_cast<int>(b.doc().insertion.octave) - 4);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 2, 3}));
    key(Key::End);
    EXPECT_EQ(b.doc().insertion.octave, 4u);
    for (int i = 0; i < 5; ++i) key(Key::PageDown);
    EXPECT_EQ(static_cast<int>(b.doc().insertion.octave) - 4, -3);  // −1 … −4, then back to −3
}

TEST_F(CursorTest, CtrlRightAndLeftAlignWithTheStaffAboveOrMoveOneUnitOnTheFirstStaff) {
    key(Key::Right, {.ctrl = true});
    EXPECT_EQ(cursor().x, 201);
    b.doc().findPage(1)->staves[1].elements.clear();
    b.on(1, 1).note(250, 1);
    b.on(1, 1).note(350, 1);
    b.setCurrent(1, 1, 0);
    cursor().x = 250;
    key(Key::Right, {.ctrl = true});
    EXPECT_EQ(std::pair(b.doc().currentStaff, cursor().x), std::pair(1, 300));
    key(Key::Left, {.ctrl = true});
    EXPECT_EQ(cursor().x, 200);
}

}  // namespace
}  // namespace notavera
