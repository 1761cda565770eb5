// The cross-staff placement: the keys' refusals, the staff moved to its neighbour's place and back, the notes
// entered there, the zone and the alternate action, and the rules that end a placement.
#include <gtest/gtest.h>

#include "shell/cross_staff.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

// One page of three staves, notes at 200, 300, 400 on the first two; the cursor on staff 1, first note.
class CrossStaffTest : public ::testing::Test {
protected:
    CrossStaffTest() {
        b.on(1, 0).notes(200, 100, 3, 1);
        b.on(1, 1).notes(200, 100, 3, 5);
        b.setCurrent(1, 1, 0);
        cursor().x = 200;
        frame = *CursorFrameOf(b.doc());
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }
    void key(Key k, KeyModifiers m = {}) { DispatchKey(b.ctx(), k, m); }
    void ctrl(Key k) { key(k, {.ctrl = true}); }
    int placement() { return PlacementInForce(b.doc()); }
    ElementRecord& at(int staff, int i) { return b.doc().page()->staves[staff].elements[i]; }
    int staffY(int staff) { return static_cast<int>(frame.staffY[staff]); }

    ScoreBuilder b{1, 3, 1};
    CursorFrame frame;
};

struct Refusal {
    int staff;
    Key first;   // a placement asked first (Key::End: none)
    Key second;  // the refused one
};

class PlacementRefusalTest : public CrossStaffTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PlacementRefusalTest, LeavesThePlacementAndClearsTheNavigationState) {
    const Refusal r = GetParam();
    b.doc().currentStaff = r.staff;
    if (r.first != Key::End) ctrl(r.first);
    const int before = placement();
    const int placedBefore = PlacedStaffIndex(b.ctx());
    b.ctx().shell.input.navigationState = 7;
    ctrl(r.second);
    EXPECT_EQ(placement(), before);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), placedBefore);
    EXPECT_EQ(b.ctx().shell.input.navigationState, 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, PlacementRefusalTest,
                         ::testing::Values(Refusal{0, Key::End, Key::PageUp},      // no staff above the first
                                           Refusal{2, Key::End, Key::PageDown},    // none below the last
                                           Refusal{1, Key::PageDown, Key::PageUp}, // another placement in force
                                           Refusal{1, Key::PageUp, Key::PageUp}));

TEST_F(CrossStaffTest, CtrlPageUpMovesTheStaffToThePlaceAboveAndNewNotesCarryIt) {
    ctrl(Key::PageUp);
    EXPECT_EQ(placement(), PlaceAbove);
    EXPECT_EQ(b.ctx().shell.input.navigationState, 1);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 0);
    EXPECT_EQ(cursor().y, staffY(0));
    EXPECT_EQ(at(1, 0).w0().crossStaff(), 0u);  // without the alternate action the note at the cursor stays

    key(Key::Space);  // off the note: the next note goes between the elements
    cursor().x = 250;
    key(Key::F5);
    const ElementRecord* entered = b.doc().element();
    ASSERT_NE(entered, nullptr);
    EXPECT_EQ(entered->x, 250);
    EXPECT_EQ(entered->w0().crossStaff(), 1u);

    ctrl(Key::Home);
    EXPECT_EQ(placement(), PlaceOwn);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 1);
    EXPECT_EQ(cursor().y, staffY(1));
}

TEST_F(CrossStaffTest, TheAlternateActionPlacesTheNoteAtTheCursor) {
    b.ctx().shell.input.alternateAction = true;
    ctrl(Key::PageDown);
    EXPECT_EQ(at(1, 0).w0().crossStaff(), 2u);
    EXPECT_TRUE(b.doc().modified);
    EXPECT_EQ(at(1, 1).w0().crossStaff(), 0u);
}

TEST_F(CrossStaffTest, AShownZonePlacesItsNotesAndRestsButNotItsSigns) {
    b.on(1, 1).bar(500);
    b.rest(600);
    b.setCurrent(1, 1, 1);
    cursor().x = 300;
    CursorState& c = cursor();
    c.zone = {.lastStaff = 1, .start = 1, .last = 4, .page = 1, .startStaff = 1};
    c.zoneRect = {.left = 250, .bottom = 0, .right = 650, .top = 3000, .shown = true};
    ctrl(Key::PageUp);
    EXPECT_EQ(at(1, 0).w0().crossStaff(), 0u);  // before the zone
    EXPECT_EQ(at(1, 1).w0().crossStaff(), 1u);
    EXPECT_EQ(at(1, 2).w0().crossStaff(), 1u);
    EXPECT_EQ(at(1, 3).w0().crossStaff(), 0u);  // the bar
    EXPECT_EQ(at(1, 4).w0().crossStaff(), 1u);  // the rest
}

TEST_F(CrossStaffTest, AnElementAtAnotherPlacementBringsItsPlacement) {
    at(1, 1).w0().setCrossStaff(2);
    key(Key::Right);
    EXPECT_EQ(placement(), PlaceBelow);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 2);
    EXPECT_EQ(cursor().y, staffY(2));
    key(Key::Right);  // a note at its own place ends it
    EXPECT_EQ(placement(), PlaceOwn);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 1);
    at(1, 1).w0().setCrossStaff(3);  // no placement: the note counts as at its own place
    key(Key::Left);
    EXPECT_EQ(placement(), PlaceOwn);
}

TEST_F(CrossStaffTest, TheViewMovingEndsThePlacement) {
    ctrl(Key::PageUp);
    key(Key::Home);
    key(Key::Right);  // the view scrolls fully right
    EXPECT_EQ(placement(), PlaceOwn);
    EXPECT_EQ(b.ctx().shell.input.navigationState, 0);
}

TEST_F(CrossStaffTest, TheMovedStaffReturnsWhenAnotherStaffIsPlaced) {
    ctrl(Key::PageUp);
    b.doc().currentStaff = 2;
    PlaceStaff(b.ctx(), PlaceOwn);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 2);
    b.doc().currentStaff = 1;
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 1);  // no longer moved
    ctrl(Key::PageDown);
    PlaceStaff(b.ctx(), PlaceForget);
    EXPECT_EQ(PlacedStaffIndex(b.ctx()), 1);
}

}  // namespace
}  // namespace notavera
