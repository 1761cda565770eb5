// Détruire, the stretches: the marked region over several staves, the stretch from the cursor to marker Y in
// either direction, the rest of the line, and the beep when nothing is marked.
#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "shell/erase_commands.h"
#include "shell/markers.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

// Two staves with notes at 200, 300, 400, 500, 600; the cursor on staff 0 at 300.
class RegionDeletionTest : public ::testing::Test {
protected:
    RegionDeletionTest() {
        b.on(1, 0).notes(200, 100, 5, 1);
        b.on(1, 1).notes(200, 100, 5, 5);
        b.doc().modified = false;
        at(0, 300);
    }
    void at(int staff, int x) {
        b.setCurrent(1, staff, (x - 200) / 100);
        b.ctx().shell.cursor.x = x;
    }
    std::vector<int> xs(int staff) {
        std::vector<int> out;
        for (const ElementRecord& e : b.doc().page()->staves[staff].elements) out.push_back(e.x);
        return out;
    }

    ScoreBuilder b{1, 2, 2};
};

TEST_F(RegionDeletionTest, FromTheCursorToMarkerYWhicheverComesFirst) {
    at(0, 500);
    DispatchCommand(b.ctx(), markerYCommand);
    at(0, 300);
    DispatchCommand(b.ctx(), eraseRegionCommand);
    EXPECT_EQ(xs(0), (std::vector<int>{200, 600}));
    EXPECT_EQ(xs(1).size(), 5u);
    EXPECT_TRUE(b.doc().modified);
    EXPECT_FALSE(b.ctx().shell.cursor.zone.marked());  // the marker is used up
    EXPECT_EQ(b.ctx().shell.cursor.x, 300);
    ASSERT_NE(b.doc().element(), nullptr);
    EXPECT_EQ(b.doc().element()->x, 600);

    at(0, 200);
    DispatchCommand(b.ctx(), markerYCommand);
    at(0, 600);  // the cursor after the marker
    DispatchCommand(b.ctx(), eraseRegionCommand);
    EXPECT_TRUE(xs(0).empty());
}

TEST_F(RegionDeletionTest, TheMarkedRegionGoesStaffByStaff) {
    CursorState& c = b.ctx().shell.cursor;
    c.zone = {.lastStaff = 1, .start = 3, .last = 1, .page = 1, .startStaff = 0};
    c.zoneRect = {.left = 450, .bottom = 0, .right = 350, .top = 3000, .shown = true};
    DispatchCommand(b.ctx(), eraseRegionCommand);
    EXPECT_EQ(xs(0), (std::vector<int>{200, 300, 400}));
    EXPECT_EQ(xs(1), (std::vector<int>{400, 500, 600}));
    EXPECT_FALSE(c.zoneRect.shown);
}

TEST_F(RegionDeletionTest, NothingMarkedOnlyBeeps) {
    const int beeps = b.ui().beeps();
    DispatchCommand(b.ctx(), eraseRegionCommand);
    EXPECT_EQ(b.ui().beeps(), beeps + 1);
    EXPECT_EQ(xs(0).size(), 5u);
    EXPECT_FALSE(b.doc().modified);

    DispatchCommand(b.ctx(), markerYCommand);
    at(1, 400);  // marker Y lies on another staff
    DispatchCommand(b.ctx(), eraseRegionCommand);
    EXPECT_EQ(b.ui().beeps(), beeps + 3);  // the marker's own beep, then the refusal
    EXPECT_EQ(xs(1).size(), 5u);
}

TEST_F(RegionDeletionTest, TheLineEndGoesFromTheCursorOn) {
    at(0, 400);
    DispatchCommand(b.ctx(), eraseToLineEndCommand);
    EXPECT_EQ(xs(0), (std::vector<int>{200, 300}));
    EXPECT_EQ(xs(1).size(), 5u);
    EXPECT_TRUE(b.doc().modified);
    EXPECT_EQ(b.doc().element()->x, 300);

    b.doc().modified = false;
    b.ctx().shell.cursor.x = 900;  // nothing after the cursor
    EXPECT_FALSE(EraseToLineEnd(b.ctx()));
    EXPECT_FALSE(b.doc().modified);
}

}  // namespace
}  // namespace notavera
