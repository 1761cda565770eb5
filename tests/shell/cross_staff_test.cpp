// The cross-staff placement: the keys' refusals, the staff moved to its neighbour's place and back, the notes
// entered there, the zone and the alternate action, and the rules that end a placement.
#include "shell/cross_staff.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

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
    // The placement in force, the staff the cursor stands on, and the cursor's height.
    std::tuple<int, int, int> placed() {
        return {PlacementInForce(b.doc()), PlacedStaffIndex(b.ctx()), cursor().y};
    }
    std::tuple<int, int, int> at(int placement, int staff) {
        return {placement, staff, static_cast<int>(frame.staffY[static_cast<std::size_t>(staff)])};
    }
    unsigned cross(int staff, int i) { return b.doc().page()->staves[staff].elements[i].w0().crossStaff(); }

    test::ScoreBuilder b{1, 3, 1};
    CursorFrame frame;
};

TEST_F(CrossStaffTest, RefusedPlacementsChangeNothingAndClearTheNavigationState) {
    const std::tuple<int, Key, Key> refusals[] = {
        {0, Key::End, Key::PageUp},       // no staff above the first
        {2, Key::End, Key::PageDown},     // none below the last
        {1, Key::PageDown, Key::PageUp},  // another placement in force
        {1, Key::PageUp, Key::PageUp}};
    for (const auto& [staff, first, second] : refusals) {
        b.setCurrent(1, staff, 0);
        PlaceStaff(b.ctx(), PlaceOwn);
        if (first != Key::End) ctrl(first);
        const auto before = std::tuple(PlacementInForce(b.doc()), PlacedStaffIndex(b.ctx()));
        b.ctx().shell.input.navigationState = 7;
        ctrl(second);
        EXPECT_EQ(std::tuple(PlacementInForce(b.doc()), PlacedStaffIndex(b.ctx())), before) << staff;
        EXPECT_EQ(b.ctx().shell.input.navigationState, 0);
    }
}

TEST_F(CrossStaffTest, CtrlPageUpMovesTheStaffToThePlaceAboveAndNewNotesCarryIt) {
    ctrl(Key::PageUp);
    EXPECT_EQ(placed(), at(PlaceAbove, 0));
    EXPECT_EQ(b.ctx().shell.input.navigationState, 1);
    EXPECT_EQ(cross(1, 0), 0u);  // without the alternate action the note at the cursor stays
    key(Key::Space);             // off the note: the next note goes between the elements
    cursor().x = 250;
    key(Key::F5);
    const auto& els = b.doc().staff()->elements;
    const auto typed = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return e.x == 250; });
    ASSERT_NE(typed, els.end());
    EXPECT_EQ(typed->w0().crossStaff(), 1u);
    ctrl(Key::Home);
    EXPECT_EQ(placed(), at(PlaceOwn, 1));
}

TEST_F(CrossStaffTest, TheAlternateActionPlacesTheNoteAtTheCursor) {
    b.ctx().shell.input.alternateAction = true;
    ctrl(Key::PageDown);
    EXPECT_EQ(cross(1, 0), 2u);
    EXPECT_EQ(cross(1, 1), 0u);
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(CrossStaffTest, AShownZonePlacesItsNotesAndRestsButNotItsSigns) {
    b.on(1, 1).bar(500);
    b.rest(600);
    b.setCurrent(1, 1, 1);
    cursor().x = 300;
    cursor().zone = {.lastStaff = 1, .start = 1, .last = 4, .page = 1, .startStaff = 1};
    cursor().zoneRect = {.left = 250, .bottom = 0, .right = 650, .top = 3000, .shown = true};
    ctrl(Key::PageUp);
    const unsigned expected[] = {0, 1, 1, 0, 1};  // before the zone, two notes, the bar, the rest
    for (int i = 0; i < 5; ++i) EXPECT_EQ(cross(1, i), expected[i]) << i;
}

TEST_F(CrossStaffTest, AnElementAtAnotherPlacementBringsItAndTheViewMovingEndsIt) {
    b.doc().page()->staves[1].elements[1].w0().setCrossStaff(2);
    key(Key::Right);
    EXPECT_EQ(placed(), at(PlaceBelow, 2));
    key(Key::Right);  // a note at its own place ends it
    EXPECT_EQ(placed(), at(PlaceOwn, 1));
    b.doc().page()->staves[1].elements[1].w0().setCrossStaff(3);  // no placement: counts as its own place
    key(Key::Left);
    EXPECT_EQ(PlacementInForce(b.doc()), PlaceOwn);
    ctrl(Key::PageUp);
    key(Key::Home);
    key(Key::Right);  // the view scrolls fully right
    EXPECT_EQ(PlacementInForce(b.doc()), PlaceOwn);
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
