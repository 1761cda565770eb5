// The cursor keys on a small score: Home forms, element and free steps, staff wraps, snapping, the template
// staff, the octave keys, the line's x limit and the Ctrl forms.
#include <gtest/gtest.h>

#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

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
    int element() const { return const_cast<ScoreBuilder&>(b).doc().currentElement; }
    int staff() { return b.doc().currentStaff; }
    ViewAction lastView() { return b.ui().viewActions().empty() ? ViewAction::None : b.ui().viewActions().back(); }

    ScoreBuilder b{1, 3, 3};
    CursorFrame frame;
};

TEST_F(CursorTest, HomeThenLeftGoesToTheStaffStartAndScrollsFullyLeft) {
    key(Key::Home);
    EXPECT_EQ(cursor().x, 200);  // Home alone moves nothing
    key(Key::Left);
    EXPECT_EQ(cursor().x, frame.staffStart[0]);
    EXPECT_EQ(element(), 0);
    EXPECT_FALSE(cursor().pendingHome);
    EXPECT_EQ(lastView(), ViewAction::FullyLeft);
}

TEST_F(CursorTest, HomeFollowedByAnotherKeyIsForgotten) {
    key(Key::Home);
    key(Key::Space);
    EXPECT_FALSE(cursor().pendingHome);
    key(Key::Left);
    EXPECT_EQ(cursor().x, 200);  // back onto the first note, not to the staff start
}

TEST_F(CursorTest, RightWalksTheElementsThenFreeSpaceThenTheNextStaff) {
    key(Key::Right);
    EXPECT_EQ(cursor().x, 300);
    key(Key::Right);
    EXPECT_EQ(cursor().x, 400);
    key(Key::Right);
    EXPECT_EQ(cursor().x, 400 + frame.freeStep);
    EXPECT_EQ(element(), 2);
    for (int i = 0; i < 100 && cursor().x < frame.lineLength; ++i) key(Key::Right);
    EXPECT_EQ(cursor().x, frame.lineLength);  // never beyond the line
    EXPECT_EQ(staff(), 0);
    key(Key::Right);
    EXPECT_EQ(staff(), 1);
    EXPECT_EQ(element(), 0);
    EXPECT_EQ(cursor().x, 200);
}

TEST_F(CursorTest, TheArrowsSoundTheNoteTheyLandOnWhenTheEchoIsOn) {
    std::vector<int> heard;  // the x of each note sounded
    b.ctx().soundNote = [&](const ElementRecord& note) { heard.push_back(note.x); };
    key(Key::Right);
    key(Key::Right);
    key(Key::Right);  // into the free space after the last note
    key(Key::Left);   // back onto it
    EXPECT_EQ(heard, (std::vector<int>{300, 400, 400}));
    key(Key::Backspace);  // not an arrow
    key(Key::Space);
    EXPECT_EQ(heard.size(), 3u);
    b.ctx().shell.settings.keyboardEcho = -1;
    key(Key::Left);
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(CursorTest, LeftFromFreeSpaceComesBackOntoTheLastElement) {
    b.doc().currentElement = 2;
    cursor().x = 400;
    key(Key::Right);
    EXPECT_EQ(cursor().x, 400 + frame.freeStep);
    key(Key::Left);
    EXPECT_EQ(cursor().x, 400);
    EXPECT_EQ(element(), 2);
}

TEST_F(CursorTest, LeftAtXZeroGoesToTheLastElementOfTheStaffAbove) {
    b.setCurrent(1, 1, 0);
    cursor().x = 0;
    key(Key::Left);
    EXPECT_EQ(staff(), 0);
    EXPECT_EQ(element(), 2);
    EXPECT_EQ(cursor().x, 400);
}

TEST_F(CursorTest, LeftAtXZeroOfTheFirstStaffMovesNothing) {
    cursor().x = 0;
    key(Key::Left);
    EXPECT_EQ(staff(), 0);
    EXPECT_EQ(cursor().x, 0);
}

TEST_F(CursorTest, LeftBeforeTheFirstElementStepsIntoFreeSpaceButNotBelowZero) {
    key(Key::Left);
    EXPECT_EQ(cursor().x, 200 - frame.freeStep);
    for (int i = 0; i < 20; ++i) key(Key::Backspace);
    EXPECT_EQ(cursor().x, 0);
}

TEST_F(CursorTest, UpAndDownKeepTheColumnAndStopAtTheEdges) {
    cursor().x = 300;
    b.doc().currentElement = 1;
    key(Key::Down);
    EXPECT_EQ(staff(), 1);
    EXPECT_EQ(cursor().x, 300);
    key(Key::Down);
    EXPECT_EQ(staff(), 2);
    EXPECT_EQ(element(), -1);
    EXPECT_EQ(cursor().x, frame.staffStart[2]);  // an empty staff puts the cursor at its start
    key(Key::Down);
    EXPECT_EQ(staff(), 2);
    key(Key::Up);
    key(Key::Up);
    key(Key::Up);
    EXPECT_EQ(staff(), 0);
    EXPECT_EQ(cursor().y, static_cast<int>(frame.staffY[0]));
}

TEST_F(CursorTest, UpAndDownAreRefusedWhileTheInsertionBoxIsOpen) {
    b.ctx().shell.input.insertionOpen = true;
    key(Key::Down);
    EXPECT_EQ(staff(), 0);
}

TEST_F(CursorTest, UpOrDownInTemplateStaffModeOnlyLeavesTheTemplateStaff) {
    b.ctx().shell.input.templateStaffMode = true;
    cursor().templateSavedStaff = 1;
    cursor().templateSavedElement = 2;
    b.doc().currentStaff = 2;
    b.doc().currentElement = -1;
    key(Key::Up);
    EXPECT_FALSE(b.ctx().shell.input.templateStaffMode);
    EXPECT_EQ(staff(), 1);
    EXPECT_EQ(element(), 2);
    EXPECT_EQ(cursor().x, 200);  // nothing else moved
}

TEST_F(CursorTest, HomeThenUpAndDownGoToTheFirstAndLastStaff) {
    key(Key::Home);
    key(Key::Down);
    EXPECT_EQ(staff(), 2);
    EXPECT_EQ(lastView(), ViewAction::Bottom);
    key(Key::Home);
    key(Key::Up);
    EXPECT_EQ(staff(), 0);
    EXPECT_EQ(lastView(), ViewAction::Top);
}

struct SnapCase {
    int offset;
    int expectedX;
    int expectedElement;
};

class SnapTest : public CursorTest, public ::testing::WithParamInterface<SnapCase> {};

TEST_P(SnapTest, AClickBesideAnElementSnapsOnlyWithinTwoUnits) {
    cursor().x = 300 + GetParam().offset;
    MoveCursor(b.ctx(), MoveSnap);
    EXPECT_EQ(cursor().x, GetParam().expectedX);
    EXPECT_EQ(element(), GetParam().expectedElement);
}

INSTANTIATE_TEST_SUITE_P(Tolerance, SnapTest,
                         ::testing::Values(SnapCase{2, 300, 1}, SnapCase{-2, 300, 1}, SnapCase{0, 300, 1},
                                           SnapCase{3, 303, 2}, SnapCase{-3, 297, 0}));

TEST_F(CursorTest, PageUpFiveTimesFromZeroGivesOneTwoThreeTwoThree) {
    b.doc().insertion.octave = 4;
    std::vector<unsigned> seen;
    for (int i = 0; i < 5; ++i) {
        key(Key::PageUp);
        seen.push_back(b.doc().insertion.octave - 4);
    }
    EXPECT_EQ(seen, (std::vector<unsigned>{1, 2, 3, 2, 3}));
    key(Key::End);
    EXPECT_EQ(b.doc().insertion.octave, 4u);
    for (int i = 0; i < 5; ++i) key(Key::PageDown);
    EXPECT_EQ(static_cast<int>(b.doc().insertion.octave) - 4, -3);  // −1 … −4, then back to −3
}

TEST_F(CursorTest, AnElementBeyondTheLineBeepsWhenReached) {
    b.on(1, 0).note(frame.lineLength + 40, 1);
    b.doc().currentElement = 2;
    cursor().x = 400;
    const int before = b.ui().beeps();
    key(Key::Right);
    EXPECT_EQ(cursor().x, frame.lineLength + 40);
    EXPECT_EQ(b.ui().beeps(), before + 1);
}

TEST_F(CursorTest, CtrlRightAndLeftAlignWithTheStaffAbove) {
    b.on(1, 1);
    b.doc().findPage(1)->staves[1].elements.clear();
    b.on(1, 1).note(250, 1);
    b.on(1, 1).note(350, 1);
    b.doc().currentElement = 0;
    cursor().x = 250;
    key(Key::Right, {.ctrl = true});
    EXPECT_EQ(cursor().x, 300);
    EXPECT_EQ(staff(), 1);
    key(Key::Left, {.ctrl = true});
    EXPECT_EQ(cursor().x, 200);
}

TEST_F(CursorTest, CtrlRightOnTheFirstStaffMovesOneUnit) {
    key(Key::Right, {.ctrl = true});
    EXPECT_EQ(cursor().x, 201);
}

TEST_F(CursorTest, UpSetsTheOctaveFromTheClefAndDropsTheStaffAttributes) {
    b.doc().insertion.switches = SwitchGroup | SwitchT | SwitchBeam;
    b.doc().insertion.octave = 6;
    b.setCurrent(1, 1, 0);
    key(Key::Up);
    EXPECT_EQ(b.doc().insertion.switches & (SwitchGroup | SwitchT), 0u);
    EXPECT_EQ(b.doc().insertion.octave, 4u);  // no clef on the staff: octave 0
}

}  // namespace
}  // namespace notavera
