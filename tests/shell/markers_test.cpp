// Markers, the zone and Escape: what the commands set and what Escape clears, the staff number dialog, and what
// DrawMarkers puts over a drawn page — each marker only while set and on its own page, the region inverted, the
// highlighted element, and the insertion cursor where the staff is placed, in its second form before a marked note.
#include "shell/markers.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/insertion_cursor.h"
#include "render/page_pass.h"
#include "shell/dispatch.h"
#include "shell/marker_drawing.h"
#include "shell/zone.h"
#include "support/page_fixtures.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::CallsOf;

// Two pages of two staves with notes at 200, 300, 400; the cursor on staff 1 at 300.
class MarkersTest : public ::testing::Test {
protected:
    MarkersTest() {
        b.on(1, 0).notes(200, 100, 3, 1);
        b.on(1, 1).notes(200, 100, 3, 5);
        b.setCurrent(1, 1, 1);
        cursor().x = 300;
        b.ctx().shell.documentReady = true;
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }
    void command(int c) { DispatchCommand(b.ctx(), static_cast<std::uint32_t>(c)); }
    // The calls DrawMarkers makes after a page pass.
    nlohmann::json markers() {
        RecordingCanvas canvas;
        dc.canvas = &canvas;
        DrawPage(dc, b.doc());
        canvas.clear();
        DrawMarkers(dc, b.ctx());
        dc.canvas = nullptr;
        return canvas.calls();
    }
    // The calls of `op` whose fill (or pen colour, for lines) is `colour`.
    static std::vector<nlohmann::json> InColour(const nlohmann::json& calls, const std::string& op, Colour colour) {
        std::vector<nlohmann::json> out;
        for (const auto& c : CallsOf(calls, op))
            if ((op == "line" ? c["pen"]["colour"] : c["fill"]) == colour) out.push_back(c);
        return out;
    }

    test::ScoreBuilder b{2, 2, 1};
    DrawingContext dc;
};

TEST_F(MarkersTest, WithNothingMarkedOnlyTheCursorIsDrawn) {
    const nlohmann::json calls = markers();
    const auto rects = CallsOf(calls, "rect");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]["left"], InsertionCursorBox(dc, b.doc(), 300)->left);  // measured on the pass's staves
    EXPECT_EQ(calls[0]["mode"], "notXor");
    EXPECT_TRUE(CallsOf(calls, "polygon").empty());
    EXPECT_TRUE(CallsOf(calls, "line").empty());
}

TEST_F(MarkersTest, EveryMarkerHasItsMarkOnItsOwnPageOnly) {
    command(cmd::MarkerPage);
    EXPECT_NE(b.ui().title().find("(mqPage: 1)"), std::string::npos);
    command(cmd::MarkerY);  // on the note at 300
    EXPECT_EQ(cursor().zone.start, 1);
    EXPECT_EQ(cursor().zone.page, 1);
    cursor().x = 400;
    command(cmd::MarkerX);
    EXPECT_EQ(cursor().markerX, 400);
    cursor().zoneRect = {.left = 150, .bottom = 1000, .right = 450, .top = 2000, .shown = true};
    nlohmann::json calls = markers();
    EXPECT_EQ(calls[0]["mode"], "invert");
    EXPECT_EQ(CallsOf(calls, "rect")[0]["left"], 150);
    EXPECT_EQ(InColour(calls, "polygon", PageMarkerColour).size(), 1u);
    const auto y = InColour(calls, "polygon", MarkerYColour);
    ASSERT_EQ(y.size(), 1u);
    EXPECT_EQ(y[0]["points"][0][0], 300);
    const auto x = InColour(calls, "line", MarkerXColour);
    ASSERT_EQ(x.size(), 1u);
    EXPECT_EQ(x[0]["x1"], 400);
    cursor().zone.start = 7;  // its element is gone: no mark
    EXPECT_TRUE(InColour(markers(), "polygon", MarkerYColour).empty());
    b.setCurrent(2, 0, -1);
    EXPECT_TRUE(CallsOf(markers(), "polygon").empty());
}

TEST_F(MarkersTest, EscapeAfterMarkRegionLeavesNoRegionNoZoneAndNoPageMarker) {
    command(cmd::MarkerPage);
    command(cmd::MarkerY);
    command(cmd::MarkRegion);
    EXPECT_TRUE(cursor().regionMarking);
    cursor().zoneRect = {.left = 150, .bottom = 1000, .right = 450, .top = 2000, .shown = true};
    DispatchKey(b.ctx(), Key::Escape, {});
    EXPECT_FALSE(cursor().regionMarking);
    EXPECT_FALSE(cursor().zoneRect.shown);
    EXPECT_EQ(b.ctx().shell.cursor.markerPage, 0);
    EXPECT_FALSE(cursor().zone.marked());
    EXPECT_EQ(b.ui().title().find("mqPage"), std::string::npos);
    const nlohmann::json calls = markers();
    EXPECT_TRUE(CallsOf(calls, "polygon").empty());
    ASSERT_EQ(CallsOf(calls, "rect").size(), 1u);  // the cursor alone
    for (const auto& c : CallsOf(calls, "rasterOp")) EXPECT_NE(c["mode"], "invert");
}

TEST_F(MarkersTest, AnOpenZoneMakesZoneOperationsBeepAndClearZoneForgetsMarkerX) {
    command(cmd::MarkerY);
    const int beeps = b.ui().beeps();
    EXPECT_FALSE(ZoneAvailable(b.ctx()));
    EXPECT_EQ(b.ui().beeps(), beeps + 1);
    cursor().zone.last = 2;
    EXPECT_TRUE(ZoneAvailable(b.ctx()));
    EXPECT_FALSE(ZoneAvailable(b.ctx(), true));
    command(cmd::MarkerX);
    ClearZone(b.ctx());
    EXPECT_EQ(cursor().markerX, 0);
}

TEST_F(MarkersTest, GoToStaffTakesTheNumberEnteredAndRefusesOneBeyondThePage) {
    b.ui().queueDialogAnswer({.name = "PorteeNo", .fields = {{"Numéro de portée", "1"}}, .ok = true});
    command(cmd::GoToStaff);
    EXPECT_EQ(b.doc().currentStaff, 0);
    b.ui().queueDialogAnswer({.name = "PorteeNo", .fields = {{"Numéro de portée", "9"}}, .ok = true});
    EXPECT_FALSE(GoToStaff(b.ctx()));
    EXPECT_EQ(b.doc().currentStaff, 0);
}

TEST_F(MarkersTest, TheHighlightedElementIsDrawnInTheHighlightColour) {
    DispatchKey(b.ctx(), Key::Right, {});  // onto the note at 400, now highlighted
    bool highlighted = false;
    for (const auto& c : CallsOf(markers(), "glyphRun")) highlighted = highlighted || c["colour"] == HighlightColour;
    EXPECT_TRUE(highlighted);
}

TEST_F(MarkersTest, TheCursorStandsWhereTheStaffIsPlacedAndBeforeAMarkedNoteIsAnOutlineToItsLeft) {
    DispatchKey(b.ctx(), Key::PageUp, {.ctrl = true});
    const auto placed = CallsOf(markers(), "rect");  // the page pass placed the staves the box is measured on
    EXPECT_EQ(placed.back()["bottom"], InsertionCursorBox(dc, b.doc(), 300, 0)->bottom);
    DispatchKey(b.ctx(), Key::Home, {.ctrl = true});
    b.doc().element()->noteWord().setBit(18, true);
    const auto rects = CallsOf(markers(), "rect");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_LT(rects[0]["right"].get<int>(), 300);
    EXPECT_TRUE(rects[0]["fill"].is_null());
}

}  // namespace
}  // namespace notavera
