// The mouse in the main window on a small score: the staff band, snapping and selection, Ctrl+click and the block
// move, drags that change the selected note or move the cursor, the double click with the tools and the commands
// that wait for it (line cuts, a new staff), the right button, the move box, the marked region and Escape.
#include "shell/mouse_input.h"
#include "shell/note_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "edit/note_drag.h"
#include "edit/note_entry.h"
#include "shell/note_commands.h"
#include "shell/tool_application.h"
#include "score/staff_layout_model.h"
#include "render/curve_signs.h"
#include "render/geometry.h"
#include "score/clef_values.h"
#include "shell/cursor_frame.h"
#include "shell/shell_timers.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

constexpr KeyModifiers withCtrl{true, false};
constexpr KeyModifiers withShift{false, true};

// One page of three staves: staff 0 holds quarter Cs at 200, 300 and 400 after a G clef at 30; staff 1 a G clef;
// staff 2 nothing. Staff 0 is current with the cursor on the first note.
class MouseTest : public ::testing::Test {
protected:
    MouseTest() {
        b.on(1, 0);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        b.notes(200, 100, 3, 1);
        b.on(1, 1);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        b.setCurrent(1, 0, 1);
        cursor().x = 200;
        frame = *CursorFrameOf(b.doc());
    }
    EditorContext& ctx() { return b.ctx(); }
    CursorState& cursor() { return ctx().shell.cursor; }
    int ref(int staff = 0) const { return static_cast<int>(frame.staffY[static_cast<std::size_t>(staff)]); }
    // A point on the middle line of a staff.
    Point middle(int x, int staff = 0) const { return {x, ref(staff) - frame.staffHeight * 3 / 2}; }
    // The point of a pitch on a staff with a G clef.
    Point pitch(int x, int step, int octave, int staff = 0) const {
        return {x, ref(staff) + PitchToOffset(step, octave, ClefValueOfClef(1), frame.halfSpace)};
    }
    std::vector<ElementRecord>& els(int staff = 0) { return b.doc().page()->staves.at(static_cast<std::size_t>(staff)).elements; }
    ElementRecord& element(int i) { return els().at(static_cast<std::size_t>(i)); }
    unsigned code(int i) { return element(i).noteWord().durationCode(); }
    void click(Point at, KeyModifiers m = {}) {
        MouseLeftDown(ctx(), at, m);
        MouseLeftUp(ctx(), at);
    }
    // Press on `at`, wait for the click to settle (unless quick), move by (dx, dy) and release.
    void drag(Point at, int dx, int dy, KeyModifiers m = {}, bool quick = false) {
        MouseLeftDown(ctx(), at, m);
        if (!quick) OnShellTimer(ctx(), clickSettleTimer);
        const Point to{at.x + dx, at.y + dy};
        MouseMove(ctx(), to, true, m);
        MouseLeftUp(ctx(), to);
    }
    void doubleClick(Point at) {
        click(at);
        MouseDoubleClick(ctx(), at);
        MouseLeftUp(ctx(), at);
    }

    test::ScoreBuilder b{1, 3, 3};
    CursorFrame frame;
};

TEST_F(MouseTest, AClickOutsideTheStaffBandDoesNotMoveTheCursorButItsEdgesBelongToIt) {
    const int bottom = ref() - 3 * frame.staffHeight;
    for (const Point at : {Point{300, ref() + 1}, Point{300, bottom - 1}, Point{frame.lineLength + 1, middle(0).y},
                           Point{frame.staffStart[0] - 3 * frame.stepUnit - 1, middle(0).y}}) {
        click(at);
        EXPECT_EQ(std::pair(cursor().x, b.doc().currentElement), std::pair(200, 1)) << at.x << "," << at.y;
    }
    click({300, ref()});
    EXPECT_EQ(cursor().x, 300);
    click({400, bottom});
    EXPECT_EQ(cursor().x, 400);
}

TEST_F(MouseTest, AClickSnapsWithinTwoUnitsAndSelectsWithinOneStep) {
    const std::tuple<int, int, bool> clicks[] = {
        {302, 300, true}, {298, 300, true}, {303, 303, false},  // the next note, at 400, is current
        {297, 297, false},                                      // the current note, at 200, is too far
        {195, 195, true}, {189, 189, false}, {350, 350, false}};
    for (const auto& [clickX, cursorX, selected] : clicks) {
        b.setCurrent(1, 0, 1);
        cursor().x = 200;
        click(middle(clickX));
        EXPECT_EQ(cursor().x, cursorX) << clickX;
        EXPECT_EQ(ctx().shell.mouse.elementSelected, selected) << clickX;
        EXPECT_TRUE(ctx().shell.mouse.clickSettle);
    }
}

TEST_F(MouseTest, CtrlClickSetsMarkerXAndItsReleaseMovesTheBlockThereUnlessEscapeCameBetween) {
    click(middle(300));
    MouseLeftDown(ctx(), middle(350), withCtrl);
    DispatchKey(ctx(), Key::Escape, {});
    MouseLeftUp(ctx(), middle(350));
    EXPECT_EQ(element(2).x, 300);
    MouseLeftDown(ctx(), middle(350), withCtrl);
    EXPECT_EQ(cursor().markerX, 350);
    EXPECT_EQ(element(2).x, 300);  // nothing moves before the release
    MouseLeftUp(ctx(), middle(350));
    EXPECT_EQ(cursor().x, 350);
    EXPECT_EQ(std::tuple(element(1).x, element(2).x, element(3).x), std::tuple(200, 350, 450));
    EXPECT_FALSE(ctx().shell.mouse.markerXPending);
}

TEST_F(MouseTest, DragRightShortensTheSelectedNoteAndLeftLengthensItWithinTheLimits) {
    drag(middle(300), 10, 0);
    EXPECT_EQ(code(2), 5u);
    EXPECT_EQ(b.doc().insertion.durationCode, 5u);
    drag(middle(300), -20, 0);  // two steps of "Taille du Pas"
    EXPECT_EQ(code(2), 3u);
    EXPECT_EQ(std::pair(element(2).x, cursor().x), std::pair(300, 300));  // the note stays where it is
    const std::tuple<unsigned, bool, int, unsigned> limits[] = {
        {10, false, 10, 10}, {0, false, -10, 0},  // the shortest and the longest
        {5, true, -10, 5}, {5, true, 10, 6}};     // a beamed note stays an eighth or shorter
    for (const auto& [from, beamed, dx, to] : limits) {
        element(2).noteWord().setDurationCode(from);
        element(2).w0().setInBeam(beamed);
        drag(middle(300), dx, 0);
        EXPECT_EQ(code(2), to) << from << " " << dx;
    }
}

TEST_F(MouseTest, VerticalStepsWalkTheAccidentalAndShowItButNotOnAMarkedLastNote) {
    element(2).noteWord().setHiddenAccidental(true);
    b.doc().insertion.accidental = Accidental::Flat;
    b.doc().insertion.accidentalForced = true;
    drag(middle(300), 0, 2 * frame.halfSpace);
    EXPECT_EQ(element(2).noteWord().accidental(), Accidental::DoubleSharp);
    EXPECT_FALSE(element(2).noteWord().hiddenAccidental());
    EXPECT_EQ(b.doc().insertion.accidental, Accidental::None);
    EXPECT_FALSE(b.doc().insertion.accidentalForced);
    drag(middle(300), 0, -3 * frame.halfSpace);
    EXPECT_EQ(element(2).noteWord().accidental(), Accidental::Flat);
    element(3).noteWord().setBit(18, true);  // bit 18 keeps the value, and on the last element the accidental
    drag(middle(400), 10, 0);
    drag(middle(400), 0, frame.halfSpace);
    EXPECT_EQ(code(3), 4u);
    EXPECT_EQ(element(3).noteWord().accidental(), Accidental::None);
    element(1).noteWord().setBit(18, true);
    drag(middle(200), 0, frame.halfSpace);
    EXPECT_EQ(element(1).noteWord().accidental(), Accidental::Sharp);
}

TEST_F(MouseTest, OtherDragsMoveTheCursorOrDoNothing) {
    drag(middle(300), 10, 0, {}, true);  // before the click settles: as Space and Backspace
    EXPECT_EQ(std::pair(code(2), cursor().x), std::pair(4u, 310));
    drag(middle(300), -20, 0, {}, true);
    EXPECT_EQ(std::pair(code(2), cursor().x), std::pair(4u, 280));
    drag(middle(350), 30, 0);  // nothing selected: the click lay between notes
    EXPECT_EQ(std::pair(code(3), cursor().x), std::pair(4u, 380));
    ctx().shell.input.alternateAction = true;
    drag(middle(300), 10, frame.halfSpace / 2);
    EXPECT_EQ(std::pair(code(2), cursor().x), std::pair(4u, 300));
}

TEST_F(MouseTest, CtrlVerticalStepsMoveTheStaffAsCtrlDownDoes) {
    b.setCurrent(1, 2);
    cursor().x = 300;
    const auto distance = [&] { return staff_model::Distance::get(b.doc().layoutModel.staffWord(2)); };
    const unsigned before = distance();
    drag(middle(300, 2), 0, -2 * frame.halfSpace, withCtrl);
    EXPECT_EQ(distance(), before + 2);
    drag(middle(300, 2), 40, 0, withCtrl);  // sideways steps do nothing
    EXPECT_EQ(distance(), before + 2);
    drag(middle(300, 2), 0, frame.halfSpace, withCtrl);
    EXPECT_EQ(distance(), before + 1);
}

TEST_F(MouseTest, TheNoteToolEntersThePitchDrawnAtThePointWithTheValChoice) {
    const std::pair<int, int> pitches[] = {{1, 4}, {5, 4}, {7, 5}, {2, 3}, {3, 5}};
    ctx().shell.dialogs.menuDuration = 6;
    b.doc().insertion.durationCode = 2;
    int x = 300;
    for (const auto& [step, octave] : pitches) {
        b.setCurrent(1, 1, static_cast<int>(els(1).size()) - 1);
        cursor().x = x - 50;
        doubleClick(pitch(x, step, octave, 1));
        const ElementRecord& e = els(1).back();
        EXPECT_EQ(e.x, x);
        EXPECT_EQ(std::tuple(e.noteWord().step(), e.w0().octave(), e.noteWord().durationCode()),
                  std::tuple(static_cast<unsigned>(step), static_cast<unsigned>(octave), 6u));
        x += 200;
    }
    EXPECT_EQ(els(1).size(), 6u);
    EXPECT_EQ(ctx().shell.input.currentTool, 'N');
    ApplyToolAt(ctx(), 'N', 0, 300, 0);  // no pitch: no note
    EXPECT_EQ(els(1).size(), 6u);
}

TEST_F(MouseTest, PointsFarFromTheStaffCountAsEightStepsBeyondIt) {
    b.setCurrent(1, 1, 0);
    EXPECT_EQ(PitchFromPoint(ctx(), ref(1) + 500, 300), 5u);  // eight steps above the top line F5: G6
    EXPECT_EQ(b.doc().insertion.octave, 6u);
    EXPECT_EQ(PitchFromPoint(ctx(), ref(1) - 2000, 300), 2u);  // eight steps below the bottom line E4: D3
    EXPECT_EQ(b.doc().insertion.octave, 3u);
}

TEST_F(MouseTest, AccidentalToolsMarkTheClickedNoteAndPassTheCursorOnTheLastOne) {
    ctx().shell.input.currentTool = 'd';
    doubleClick(pitch(300, 1, 4));
    EXPECT_EQ(element(2).noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(cursor().x, 300);
    ctx().shell.input.currentTool = ':';
    doubleClick(pitch(400, 1, 4));
    EXPECT_EQ(element(3).noteWord().dots(), 2u);
    EXPECT_EQ(cursor().x, 400 + 2 * b.doc().spacingStep);
    EXPECT_EQ(els().size(), 4u);  // nothing was added
}

TEST_F(MouseTest, TheFreeSlurToolJoinsTheTwoPointsDoubleClicked) {
    ctx().shell.input.currentTool = freeSlurTool;
    doubleClick(middle(210));
    EXPECT_TRUE(ctx().shell.mouse.freeSlurStarted);
    EXPECT_EQ(els().size(), 4u);
    doubleClick({390, middle(0).y + 20});
    const auto slur = std::find_if(els().begin(), els().end(), [](const ElementRecord& e) {
        return e.isSignOfType(SignType::FreeTie);
    });
    ASSERT_NE(slur, els().end());
    EXPECT_EQ(slur->x, 210);
    const std::optional<CurvePoints> points = DecodeCurvePoints(slur->blob.payload());
    ASSERT_TRUE(points);
    EXPECT_EQ((*points)[0], (Point{0, middle(0).y - ref()}));
    EXPECT_EQ((*points)[3], (Point{180, middle(0).y + 20 - ref()}));
    EXPECT_GT((*points)[1].y, (*points)[0].y);  // it curves upwards
    EXPECT_FALSE(ctx().shell.mouse.freeSlurStarted);
}

TEST_F(MouseTest, SlurAndBeamToolsAlternateAndOtherToolsForgetTheChordRequest) {
    EXPECT_EQ(ApplyToolAt(ctx(), '(', 1, 300, 0), ')');
    EXPECT_EQ(ApplyToolAt(ctx(), ')', 1, 300, 0), '(');
    b.doc().insertion.durationCode = 5;
    EXPECT_EQ(ApplyToolAt(ctx(), '[', 1, 300, 0), ']');
    EXPECT_EQ(ApplyToolAt(ctx(), ']', 1, 300, 0), '[');
    EXPECT_EQ(ApplyToolAt(ctx(), 0, 1, 300, 0), 0);
    EXPECT_EQ(ApplyToolAt(ctx(), 27, 1, 300, 0), 0);
    b.doc().insertion.switches |= SwitchC;
    ApplyToolAt(ctx(), '|', 1, 300, 0);
    EXPECT_EQ(b.doc().insertion.switches & SwitchC, 0u);
}

TEST_F(MouseTest, CommandsThatWaitForADoubleClickTakeOnlyOneOnTheStaffOrBetweenStaves) {
    DispatchCommand(ctx(), cmd::MultiBarRest);
    doubleClick({300, ref() + 100});  // outside the band: still waiting
    EXPECT_EQ(ctx().shell.input.mouseMode, multiBarRestMouseMode);
    doubleClick(middle(350));
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
    DispatchCommand(ctx(), cmd::InsertStaff);
    doubleClick({300, ref(1) - 3 * frame.staffHeight - 10});  // a new staff between staves 1 and 2
    ASSERT_EQ(b.doc().page()->staves.size(), 4u);
    EXPECT_TRUE(els(2).empty());
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
    DispatchCommand(ctx(), cmd::InsertStaff);
    doubleClick({300, ref(0) - 10});  // above the first staff's top line
    EXPECT_EQ(b.doc().page()->staves.size(), 4u);
    EXPECT_EQ(b.ui().messages().back().stringId, 73);
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
}

TEST_F(MouseTest, TheRightButtonSetsTheAlternateActionAndEndsTheMoveBox) {
    click(middle(300), withShift);
    ASSERT_TRUE(ctx().shell.mouse.box.running);
    MouseRightDown(ctx());
    EXPECT_TRUE(ctx().shell.input.alternateAction);
    EXPECT_FALSE(ctx().shell.mouse.box.running);
    b.setCurrent(1, 2);
    click(middle(300, 2), withShift);  // an empty staff starts no box
    EXPECT_FALSE(ctx().shell.mouse.box.running);
}

TEST_F(MouseTest, TheMoveBoxDragsTheElementsItEncloses) {
    click({250, ref() + 20}, withShift);
    EXPECT_EQ(cursor().x, 250);
    click({350, ref() - 3 * frame.staffHeight});
    const MoveBox& box = ctx().shell.mouse.box;
    ASSERT_EQ(box.clicks, 2);
    MouseLeftDown(ctx(), middle(300), {});
    MouseMove(ctx(), middle(330), true, {});
    MouseLeftUp(ctx(), middle(330));
    EXPECT_EQ(std::tuple(element(1).x, element(2).x, element(3).x), std::tuple(200, 330, 400));
    EXPECT_EQ(box.rect.left, 280);
    EXPECT_TRUE(box.running);
    DispatchKey(ctx(), Key::Escape, {});
    EXPECT_FALSE(ctx().shell.mouse.box.running);
}

TEST_F(MouseTest, MarqueRegionTurnsTheBoxIntoTheMarkedZone) {
    DispatchCommand(ctx(), cmd::MarkRegion);
    ASSERT_TRUE(ctx().shell.mouse.box.running);
    click({250, ref() + 10});
    click({450, ref(1) - 3 * frame.staffHeight});
    const ZoneRecord& zone = cursor().zone;
    EXPECT_EQ(zone.page, 1);
    EXPECT_EQ(std::tuple(zone.startStaff, zone.start), std::tuple(0, 2));
    EXPECT_EQ(std::tuple(zone.lastStaff, zone.last), std::tuple(0, 3));  // staff 1 has nothing inside the box
    EXPECT_TRUE(cursor().zoneRect.shown);
    EXPECT_FALSE(ctx().shell.mouse.box.running);
    EXPECT_FALSE(cursor().regionMarking);
}

// Two lines of one staff: staff 0 holds four eighths (name 5), a bar at 450 and four quarters (name 4).
TEST(MouseLineCut, CouperLigneBasAndHautCutAtTheDoubleClickAndIgnoreDrags) {
    test::ScoreBuilder b{1, 2, 1};
    for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
    for (const int staff : {0, 1}) {
        b.on(1, staff);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
    }
    b.on(1, 0).notes(100, 100, 4, 5, 5);
    b.bar(450);
    b.notes(500, 100, 4, 4, 4);
    const CursorFrame frame = *CursorFrameOf(b.doc());
    const auto middle = [&](int staff) { return static_cast<int>(frame.staffY[staff]) - frame.staffHeight * 3 / 2; };
    const auto count = [&](int staff) { return b.doc().page()->staves.at(staff).elements.size(); };
    DispatchCommand(b.ctx(), cmd::CutLineDown);
    EXPECT_EQ(b.ctx().shell.input.mouseMode, cutLineDownMouseMode);
    MouseLeftDown(b.ctx(), {480, middle(0)}, {});
    OnShellTimer(b.ctx(), clickSettleTimer);
    MouseMove(b.ctx(), {520, middle(0)}, true, {});
    MouseLeftUp(b.ctx(), {520, middle(0)});
    EXPECT_EQ(b.ctx().shell.cursor.x, 480);  // the drag did not move the cursor
    MouseDoubleClick(b.ctx(), {480, middle(0)});
    EXPECT_EQ(count(0), 6u);  // clef, four eighths and the bar stay
    EXPECT_EQ(count(1), 5u);  // the quarters went to the next line, after its clef
    EXPECT_EQ(b.ctx().shell.input.mouseMode, 0);
    b.setCurrent(1, 1, 0);
    DispatchCommand(b.ctx(), cmd::CutLineUp);
    // Up: the music before the click, here the first quarter, goes to the line above.
    MouseDoubleClick(b.ctx(), {b.doc().page()->staves[1].elements[2].x, middle(1)});
    EXPECT_EQ(count(1), 4u);
    EXPECT_EQ(count(0), 7u);
    EXPECT_EQ(b.ctx().shell.input.mouseMode, 0);
}

}  // namespace
}  // namespace notavera
