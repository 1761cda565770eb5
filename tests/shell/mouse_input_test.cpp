// The mouse in the main window on a small score: the staff band, snapping and selection, Ctrl+click and the block
// move, drags that change the selected note or move the cursor, the double click with the tools and the commands
// that wait for it, the right button, the move box and Escape.
#include "shell/mouse_input.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "edit/note_drag.h"
#include "score/staff_layout_model.h"
#include "render/curve_signs.h"
#include "render/geometry.h"
#include "score/clef_values.h"
#include "score/element_creation.h"
#include "score/staff_layout_model.h"
#include "shell/cursor_frame.h"
#include "shell/note_commands.h"
#include "shell/shell_timers.h"
#include "shell/sign_characters.h"
#include "shell/tool_application.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

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
        ctx().shell.cursor.x = 200;
        frame = *CursorFrameOf(b.doc());
    }
    EditorContext& ctx() { return b.ctx(); }
    CursorState& cursor() { return ctx().shell.cursor; }
    int ref(int staff = 0) const { return static_cast<int>(frame.staffY[static_cast<std::size_t>(staff)]); }
    // A point on the middle line of a staff.
    Point middle(int x, int staff = 0) const { return {x, ref(staff) - frame.staffHeight * 3 / 2}; }
    ElementRecord& element(int i, int staff = 0) {
        return b.doc().page()->staves.at(static_cast<std::size_t>(staff)).elements.at(static_cast<std::size_t>(i));
    }
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
    unsigned code(int i) { return element(i).noteWord().durationCode(); }

    ScoreBuilder b{1, 3, 3};
    CursorFrame frame;
};

TEST_F(MouseTest, AClickOutsideTheStaffBandDoesNotMoveTheCursor) {
    const int bottom = ref() - 3 * frame.staffHeight;
    for (const Point at : {Point{300, ref() + 1}, Point{300, bottom - 1}, Point{frame.lineLength + 1, middle(0).y},
                           Point{frame.staffStart[0] - 3 * frame.stepUnit - 1, middle(0).y}}) {
        click(at);
        EXPECT_EQ(cursor().x, 200) << at.x << "," << at.y;
        EXPECT_EQ(b.doc().currentElement, 1);
    }
    // The band's edges belong to it.
    click({300, ref()});
    EXPECT_EQ(cursor().x, 300);
    click({400, bottom});
    EXPECT_EQ(cursor().x, 400);
}

struct SnapCase {
    int clickX;
    int cursorX;
    bool selected;
};

class MouseSnapTest : public MouseTest, public ::testing::WithParamInterface<SnapCase> {};

TEST_P(MouseSnapTest, AClickSnapsWithinTwoUnitsAndSelectsWithinOneStep) {
    click(middle(GetParam().clickX));
    EXPECT_EQ(cursor().x, GetParam().cursorX);
    EXPECT_EQ(ctx().shell.mouse.elementSelected, GetParam().selected);
    EXPECT_TRUE(ctx().shell.mouse.clickSettle);
}

INSTANTIATE_TEST_SUITE_P(Clicks, MouseSnapTest,
                         ::testing::Values(SnapCase{302, 300, true}, SnapCase{298, 300, true},
                                           SnapCase{303, 303, false},  // the next note, at 400, is current
                                           SnapCase{297, 297, false},  // the current note, at 200, is too far
                                           SnapCase{195, 195, true}, SnapCase{189, 189, false},
                                           SnapCase{350, 350, false}));

TEST_F(MouseTest, CtrlClickSetsMarkerXAndItsReleaseMovesTheBlockThere) {
    click(middle(300));
    MouseLeftDown(ctx(), middle(350), withCtrl);
    EXPECT_EQ(cursor().markerX, 350);
    EXPECT_EQ(element(2).x, 300);  // nothing moves before the release
    MouseLeftUp(ctx(), middle(350));
    EXPECT_EQ(cursor().x, 350);
    EXPECT_EQ(element(2).x, 350);
    EXPECT_EQ(element(3).x, 450);
    EXPECT_EQ(element(1).x, 200);
    EXPECT_FALSE(ctx().shell.mouse.markerXPending);
}

TEST_F(MouseTest, DragRightShortensTheSelectedNoteAndLeftLengthensIt) {
    drag(middle(300), 10, 0);
    EXPECT_EQ(code(2), 5u);
    EXPECT_EQ(b.doc().insertion.durationCode, 5u);
    drag(middle(300), -20, 0);  // two steps of "Taille du Pas"
    EXPECT_EQ(code(2), 3u);
    EXPECT_EQ(element(2).x, 300);  // the note stays where it is
    EXPECT_EQ(cursor().x, 300);
}

TEST_F(MouseTest, DragValuesStopAtTheLongestAndShortest) {
    element(2).noteWord().setDurationCode(10);
    drag(middle(300), 10, 0);
    EXPECT_EQ(code(2), 10u);
    element(2).noteWord().setDurationCode(0);
    drag(middle(300), -10, 0);
    EXPECT_EQ(code(2), 0u);
}

TEST_F(MouseTest, ABeamedNoteIsKeptAnEighthOrShorter) {
    element(2).noteWord().setDurationCode(5);
    element(2).w0().setInBeam(true);
    drag(middle(300), -10, 0);
    EXPECT_EQ(code(2), 5u);
    drag(middle(300), 10, 0);
    EXPECT_EQ(code(2), 6u);
}

TEST_F(MouseTest, ANoteMarkedWithBit18KeepsItsValueAndAsLastElementItsAccidental) {
    element(3).noteWord().setBit(18, true);
    drag(middle(400), 10, 0);
    EXPECT_EQ(code(3), 4u);
    drag(middle(400), 0, frame.halfSpace);
    EXPECT_EQ(element(3).noteWord().accidental(), Accidental::None);
    element(2).noteWord().setBit(18, true);  // not the last element: its accidental changes
    drag(middle(300), 0, frame.halfSpace);
    EXPECT_EQ(element(2).noteWord().accidental(), Accidental::Sharp);
}

TEST_F(MouseTest, VerticalStepsWalkTheAccidentalAndShowIt) {
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
}

TEST_F(MouseTest, BeforeTheClickSettlesADragMovesTheCursorAsSpaceAndBackspace) {
    drag(middle(300), 10, 0, {}, true);
    EXPECT_EQ(code(2), 4u);
    EXPECT_EQ(cursor().x, 310);
    drag(middle(300), -20, 0, {}, true);
    EXPECT_EQ(code(2), 4u);
    EXPECT_EQ(cursor().x, 280);
}

TEST_F(MouseTest, AwayFromTheSelectionADragMovesTheCursor) {
    drag(middle(350), 30, 0);  // nothing selected: the click lay between notes
    EXPECT_EQ(cursor().x, 380);
    EXPECT_EQ(code(3), 4u);
}

TEST_F(MouseTest, WithTheAlternateActionADragLeavesTheNoteAlone) {
    ctx().shell.input.alternateAction = true;
    drag(middle(300), 10, frame.halfSpace / 2);
    EXPECT_EQ(code(2), 4u);
    EXPECT_EQ(cursor().x, 300);
}

TEST_F(MouseTest, CtrlVerticalStepsMoveTheStaffAsCtrlDownDoes) {
    b.setCurrent(1, 2);
    cursor().x = 300;
    const unsigned before = staff_model::Distance::get(b.doc().layoutModel.staffWord(2));
    drag(middle(300, 2), 0, -2 * frame.halfSpace, withCtrl);
    EXPECT_EQ(staff_model::Distance::get(b.doc().layoutModel.staffWord(2)), before + 2);
    drag(middle(300, 2), 40, 0, withCtrl);  // sideways steps do nothing
    EXPECT_EQ(staff_model::Distance::get(b.doc().layoutModel.staffWord(2)), before + 2);
}

struct PitchCase {
    unsigned step;
    unsigned octave;
};

class PitchFromPointTest : public MouseTest, public ::testing::WithParamInterface<PitchCase> {};

TEST_P(PitchFromPointTest, TheNoteToolEntersThePitchDrawnAtThePoint) {
    b.setCurrent(1, 1, 0);
    cursor().x = 30;
    const int clef = ClefValueOfClef(1);
    const PitchCase p = GetParam();
    const int y = ref(1) + PitchToOffset(static_cast<int>(p.step), static_cast<int>(p.octave), clef, frame.halfSpace);
    doubleClick({300, y});
    const auto& els = b.doc().page()->staves[1].elements;
    ASSERT_EQ(els.size(), 2u);
    EXPECT_EQ(els[1].x, 300);
    EXPECT_EQ(els[1].noteWord().step(), p.step);
    EXPECT_EQ(els[1].w0().octave(), p.octave);
    EXPECT_EQ(ctx().shell.input.currentTool, 'N');
}

INSTANTIATE_TEST_SUITE_P(Heights, PitchFromPointTest,
                         ::testing::Values(PitchCase{1, 4}, PitchCase{5, 4}, PitchCase{7, 5}, PitchCase{2, 3},
                                           PitchCase{3, 5}));

TEST_F(MouseTest, PointsFarFromTheStaffCountAsEightStepsBeyondIt) {
    b.setCurrent(1, 1, 0);
    const unsigned high = PitchFromPoint(ctx(), ref(1) + 500, 300);
    EXPECT_EQ(high, 5u);  // eight steps above the top line F5: G6
    EXPECT_EQ(b.doc().insertion.octave, 6u);
    const unsigned low = PitchFromPoint(ctx(), ref(1) - 2000, 300);
    EXPECT_EQ(low, 2u);  // eight steps below the bottom line E4: D3
    EXPECT_EQ(b.doc().insertion.octave, 3u);
}

TEST_F(MouseTest, AccidentalToolsMarkTheClickedNoteAndPassTheCursorOnTheLastOne) {
    ctx().shell.input.currentTool = 'd';
    const int y = ref() + PitchToOffset(1, 4, ClefValueOfClef(1), frame.halfSpace);
    doubleClick({300, y});
    EXPECT_EQ(element(2).noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(cursor().x, 300);
    ctx().shell.input.currentTool = ':';
    doubleClick({400, y});
    EXPECT_EQ(element(3).noteWord().dots(), 2u);
    EXPECT_EQ(cursor().x, 400 + 2 * b.doc().spacingStep);
    EXPECT_EQ(b.doc().page()->staves[0].elements.size(), 4u);  // nothing was added
}

TEST_F(MouseTest, TheFreeSlurToolJoinsTheTwoPointsDoubleClicked) {
    ctx().shell.input.currentTool = freeSlurTool;
    doubleClick(middle(210));
    EXPECT_TRUE(ctx().shell.mouse.freeSlurStarted);
    EXPECT_EQ(b.doc().page()->staves[0].elements.size(), 4u);
    doubleClick({390, middle(0).y + 20});
    const auto& els = b.doc().page()->staves[0].elements;
    const auto slur = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) {
        return e.isSignOfType(SignType::FreeTie);
    });
    ASSERT_NE(slur, els.end());
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

TEST_F(MouseTest, TheNoteToolTakesTheDurationLastChosenInVal) {
    ctx().shell.dialogs.menuDuration = 6;
    b.doc().insertion.durationCode = 2;
    b.setCurrent(1, 2);
    cursor().x = 300;
    doubleClick(middle(300, 2));
    ASSERT_EQ(b.doc().page()->staves[2].elements.size(), 1u);
    EXPECT_EQ(b.doc().page()->staves[2].elements[0].noteWord().durationCode(), 6u);
}

TEST_F(MouseTest, ADoubleClickAfterCommand497InsertsAStaffAtItsHeight) {
    DispatchCommand(ctx(), 497);
    doubleClick({300, ref(1) - 3 * frame.staffHeight - 10});  // between staves 1 and 2
    ASSERT_EQ(b.doc().page()->staves.size(), 4u);
    EXPECT_TRUE(b.doc().page()->staves[2].elements.empty());
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
    DispatchCommand(ctx(), 497);
    doubleClick({300, ref(0) - 10});  // above the first staff's top line
    EXPECT_EQ(b.doc().page()->staves.size(), 4u);
    ASSERT_FALSE(b.ui().messages().empty());
    EXPECT_EQ(b.ui().messages().back().stringId, 73);
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
}

TEST_F(MouseTest, CommandsThatPlaceAtTheCursorWaitForADoubleClickOnTheStaff) {
    DispatchCommand(ctx(), 628);
    EXPECT_EQ(ctx().shell.input.mouseMode, multiBarRestMouseMode);
    doubleClick({300, ref() + 100});  // outside the band: still waiting
    EXPECT_EQ(ctx().shell.input.mouseMode, multiBarRestMouseMode);
    doubleClick(middle(350));
    EXPECT_EQ(ctx().shell.input.mouseMode, 0);
}

TEST_F(MouseTest, TheRightButtonSetsTheAlternateActionAndEndsTheMoveBox) {
    click(middle(300), withShift);
    ASSERT_TRUE(ctx().shell.mouse.box.running);
    MouseRightDown(ctx());
    EXPECT_TRUE(ctx().shell.input.alternateAction);
    EXPECT_FALSE(ctx().shell.mouse.box.running);
    DispatchCommand(ctx(), 51);
    EXPECT_TRUE(ctx().shell.input.alternateAction);
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
    EXPECT_EQ(element(2).x, 330);
    EXPECT_EQ(element(1).x, 200);
    EXPECT_EQ(element(3).x, 400);
    EXPECT_EQ(box.rect.left, 280);
    EXPECT_TRUE(box.running);
    DispatchKey(ctx(), Key::Escape, {});
    EXPECT_FALSE(ctx().shell.mouse.box.running);
}

TEST_F(MouseTest, MarqueRegionTurnsTheBoxIntoTheMarkedZone) {
    DispatchCommand(ctx(), 233);
    ASSERT_TRUE(ctx().shell.mouse.box.running);
    click({250, ref() + 10});
    click({450, ref(1) - 3 * frame.staffHeight});
    const ZoneRecord& zone = cursor().zone;
    EXPECT_EQ(zone.page, 1);
    EXPECT_EQ(zone.startStaff, 0);
    EXPECT_EQ(zone.start, 2);
    EXPECT_EQ(zone.lastStaff, 0);  // staff 1 has nothing inside the box
    EXPECT_EQ(zone.last, 3);
    EXPECT_TRUE(cursor().zoneRect.shown);
    EXPECT_FALSE(ctx().shell.mouse.box.running);
    EXPECT_FALSE(cursor().regionMarking);
    DispatchKey(ctx(), Key::Escape, {});
    EXPECT_FALSE(cursor().zoneRect.shown);
}

TEST_F(MouseTest, ShiftClickOnAnEmptyStaffStartsNoBox) {
    b.setCurrent(1, 2);
    click(middle(300, 2), withShift);
    EXPECT_FALSE(ctx().shell.mouse.box.running);
}

TEST_F(MouseTest, EscapeForgetsAPendingCtrlClick) {
    MouseLeftDown(ctx(), middle(350), withCtrl);
    DispatchKey(ctx(), Key::Escape, {});
    MouseLeftUp(ctx(), middle(350));
    EXPECT_EQ(element(2).x, 300);
}

// Two lines of one staff: staff 0 holds four eighths (name 5), a bar at 450 and four quarters (name 4).
class MouseLineCutTest : public ::testing::Test {
protected:
    MouseLineCutTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
        for (const int staff : {0, 1}) {
            b.on(1, staff);
            CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        }
        b.on(1, 0);
        b.notes(100, 100, 4, 5, 5);
        b.bar(450);
        b.notes(500, 100, 4, 4, 4);
        frame = *CursorFrameOf(b.doc());
        middle = static_cast<int>(frame.staffY[0]) - frame.staffHeight * 3 / 2;
    }
    std::size_t count(int staff) { return b.doc().page()->staves.at(static_cast<std::size_t>(staff)).elements.size(); }

    ScoreBuilder b{1, 2, 1};
    CursorFrame frame;
    int middle = 0;
};

TEST_F(MouseLineCutTest, CouperLigneBasCutsAtTheDoubleClickAndIgnoresDrags) {
    DispatchCommand(b.ctx(), 99);
    EXPECT_EQ(b.ctx().shell.input.mouseMode, cutLineDownMouseMode);
    MouseLeftDown(b.ctx(), {480, middle}, {});
    OnShellTimer(b.ctx(), clickSettleTimer);
    MouseMove(b.ctx(), {520, middle}, true, {});
    MouseLeftUp(b.ctx(), {520, middle});
    EXPECT_EQ(b.ctx().shell.cursor.x, 480);  // the drag did not move the cursor
    MouseDoubleClick(b.ctx(), {480, middle});
    EXPECT_EQ(count(0), 6u);  // clef, four eighths and the bar stay
    EXPECT_EQ(count(1), 5u);  // the quarters went to the next line, after its clef
    EXPECT_EQ(b.ctx().shell.input.mouseMode, 0);
}

TEST_F(MouseLineCutTest, CouperLigneHautMovesTheMusicBeforeTheClickUp) {
    b.on(1, 1);
    b.notes(100, 100, 2, 3, 4);
    DispatchCommand(b.ctx(), 98);
    MouseDoubleClick(b.ctx(), {150, static_cast<int>(frame.staffY[1]) - frame.staffHeight * 3 / 2});
    EXPECT_EQ(count(1), 2u);  // the clef and the note from 150 on
    EXPECT_EQ(count(0), 11u);
    EXPECT_EQ(b.ctx().shell.input.mouseMode, 0);
}

struct RingCase {
    Accidental from;
    Accidental up;
    Accidental down;
};

class AccidentalRingTest : public ::testing::TestWithParam<RingCase> {};

TEST_P(AccidentalRingTest, StepsGoAlongTheRingAndOffItsEnds) {
    EXPECT_EQ(RingStep(GetParam().from, true), GetParam().up);
    EXPECT_EQ(RingStep(GetParam().from, false), GetParam().down);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, AccidentalRingTest,
    ::testing::Values(RingCase{Accidental::None, Accidental::Sharp, Accidental::Flat},
                      RingCase{Accidental::Sharp, Accidental::DoubleSharp, Accidental::Natural},
                      RingCase{Accidental::Flat, Accidental::Natural, Accidental::DoubleFlat},
                      RingCase{Accidental::Natural, Accidental::Sharp, Accidental::Flat},
                      RingCase{Accidental::DoubleSharp, Accidental::QuarterSharp, Accidental::Sharp},
                      RingCase{Accidental::DoubleFlat, Accidental::Flat, Accidental::QuarterFlat},
                      RingCase{Accidental::QuarterSharp, Accidental::None, Accidental::DoubleSharp},
                      RingCase{Accidental::QuarterFlat, Accidental::DoubleFlat, Accidental::None}));

}  // namespace
}  // namespace notavera
