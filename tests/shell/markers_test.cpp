// Markers, the zone and Escape: what the commands set, what Escape clears, and the staff number dialog.
#include <gtest/gtest.h>

#include "shell/dispatch.h"
#include "shell/markers.h"
#include "shell/zone.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class MarkersTest : public ::testing::Test {
protected:
    MarkersTest() {
        b.on(1, 0).notes(200, 100, 3, 1);
        b.setCurrent(1, 0, 1);
        b.ctx().shell.cursor.x = 300;
        b.ctx().shell.documentReady = true;
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }
    ScoreBuilder b{1, 2, 2};
};

TEST_F(MarkersTest, EscapeAfterMarkRegionLeavesNoRectangleAndNoPageMarker) {
    DispatchCommand(b.ctx(), markerPageCommand);
    EXPECT_NE(b.ui().title().find("(mqPage: 1)"), std::string::npos);
    DispatchCommand(b.ctx(), markRegionCommand);
    EXPECT_TRUE(cursor().regionMarking);
    cursor().zoneRect = {.left = 10, .bottom = 10, .right = 50, .top = 50, .shown = true};
    DispatchKey(b.ctx(), Key::Escape, {});
    EXPECT_FALSE(cursor().regionMarking);
    EXPECT_FALSE(cursor().zoneRect.shown);
    EXPECT_EQ(b.ctx().shell.cursor.markerPage, 0);
    EXPECT_FALSE(cursor().zone.marked());
    EXPECT_EQ(b.ui().title().find("mqPage"), std::string::npos);
}

TEST_F(MarkersTest, MarkerYStartsAnOpenZoneAndZoneOperationsBeepUntilItEnds) {
    DispatchCommand(b.ctx(), markerYCommand);
    EXPECT_EQ(cursor().zone.start, 1);
    EXPECT_EQ(cursor().zone.page, 1);
    const int beeps = b.ui().beeps();
    EXPECT_FALSE(ZoneAvailable(b.ctx()));
    EXPECT_EQ(b.ui().beeps(), beeps + 1);
    cursor().zone.last = 2;
    EXPECT_TRUE(ZoneAvailable(b.ctx()));
    EXPECT_FALSE(ZoneAvailable(b.ctx(), true));
}

TEST_F(MarkersTest, MarkerXTakesTheCursorAndClearZoneForgetsIt) {
    DispatchCommand(b.ctx(), markerXCommand);
    EXPECT_EQ(cursor().markerX, 300);
    ClearZone(b.ctx());
    EXPECT_EQ(cursor().markerX, 0);
}

TEST_F(MarkersTest, GoToStaffTakesTheNumberEnteredAndRefusesOneBeyondThePage) {
    b.ui().queueDialogAnswer({.name = "PorteeNo", .fields = {{"Numéro de portée", "2"}}, .ok = true});
    DispatchCommand(b.ctx(), goToStaffCommand);
    EXPECT_EQ(b.doc().currentStaff, 1);
    b.ui().queueDialogAnswer({.name = "PorteeNo", .fields = {{"Numéro de portée", "9"}}, .ok = true});
    EXPECT_FALSE(GoToStaff(b.ctx()));
    EXPECT_EQ(b.doc().currentStaff, 1);
}

}  // namespace
}  // namespace notavera
