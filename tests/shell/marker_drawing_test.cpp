// What DrawMarkers puts over a drawn page: each marker only while set and on its own page, the region inverted,
// the highlighted element in the highlight colour, and the insertion cursor on the place the staff stands at, in
// its second form before a marked note.
#include "shell/marker_drawing.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/insertion_cursor.h"
#include "render/page_pass.h"
#include "shell/cross_staff.h"
#include "shell/dispatch.h"
#include "support/page_fixtures.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::ScoreBuilder;

class MarkerDrawingTest : public ::testing::Test {
protected:
    MarkerDrawingTest() {
        b.on(1, 0).notes(200, 100, 3, 1);
        b.on(1, 1).notes(200, 100, 3, 5);
        b.setCurrent(1, 1, 1);
        cursor().x = 300;
        b.ctx().shell.documentReady = true;
    }
    CursorState& cursor() { return b.ctx().shell.cursor; }

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
    std::vector<nlohmann::json> filled(const nlohmann::json& calls, const std::string& op, Colour colour) {
        std::vector<nlohmann::json> out;
        for (const auto& c : CallsOf(calls, op))
            if (c["fill"] == colour) out.push_back(c);
        return out;
    }
    std::vector<nlohmann::json> lines(const nlohmann::json& calls, Colour colour) {
        std::vector<nlohmann::json> out;
        for (const auto& c : CallsOf(calls, "line"))
            if (c["pen"]["colour"] == colour) out.push_back(c);
        return out;
    }

    ScoreBuilder b{2, 2, 1};
    DrawingContext dc;
};

TEST_F(MarkerDrawingTest, WithNothingMarkedOnlyTheCursorIsDrawn) {
    const nlohmann::json calls = markers();
    const auto rects = CallsOf(calls, "rect");
    ASSERT_EQ(rects.size(), 1u);
    const Box box = *InsertionCursorBox(dc, b.doc(), 300);
    EXPECT_EQ(rects[0]["left"], box.left);
    EXPECT_EQ(calls[0]["mode"], "notXor");
    EXPECT_TRUE(CallsOf(calls, "polygon").empty());
    EXPECT_TRUE(CallsOf(calls, "line").empty());
}

TEST_F(MarkerDrawingTest, EveryMarkerHasItsMark) {
    DispatchCommand(b.ctx(), 598);  // Marqueur Page
    DispatchCommand(b.ctx(), 210);  // Marqueur Y on the note at 300
    cursor().x = 400;
    DispatchCommand(b.ctx(), 211);  // Marqueur X at 400
    cursor().zoneRect = {.left = 150, .bottom = 1000, .right = 450, .top = 2000, .shown = true};
    const nlohmann::json calls = markers();
    EXPECT_EQ(calls[0]["mode"], "invert");
    EXPECT_EQ(CallsOf(calls, "rect")[0]["left"], 150);
    EXPECT_EQ(filled(calls, "polygon", PageMarkerColour).size(), 1u);
    const auto y = filled(calls, "polygon", MarkerYColour);
    ASSERT_EQ(y.size(), 1u);
    EXPECT_EQ(y[0]["points"][0][0], 300);
    const auto x = lines(calls, MarkerXColour);
    ASSERT_EQ(x.size(), 1u);
    EXPECT_EQ(x[0]["x1"], 400);
}

TEST_F(MarkerDrawingTest, MarkersOfAnotherPageAreNotDrawnHere) {
    DispatchCommand(b.ctx(), 598);
    DispatchCommand(b.ctx(), 210);
    b.setCurrent(2, 0, -1);
    const nlohmann::json calls = markers();
    EXPECT_TRUE(CallsOf(calls, "polygon").empty());
}

TEST_F(MarkerDrawingTest, EscapeAfterMarkRegionLeavesNoRectangleAndNoPageMarker) {
    DispatchCommand(b.ctx(), 598);
    DispatchCommand(b.ctx(), 233);
    cursor().zoneRect = {.left = 150, .bottom = 1000, .right = 450, .top = 2000, .shown = true};
    DispatchKey(b.ctx(), Key::Escape, {});
    const nlohmann::json calls = markers();
    EXPECT_TRUE(CallsOf(calls, "polygon").empty());
    ASSERT_EQ(CallsOf(calls, "rect").size(), 1u);  // the cursor alone
    for (const auto& c : CallsOf(calls, "rasterOp")) EXPECT_NE(c["mode"], "invert");
}

TEST_F(MarkerDrawingTest, TheHighlightedElementIsDrawnInTheHighlightColour) {
    DispatchKey(b.ctx(), Key::Right, {});  // onto the note at 400, now highlighted
    const nlohmann::json calls = markers();
    bool highlighted = false;
    for (const auto& c : CallsOf(calls, "glyphRun")) highlighted = highlighted || c["colour"] == HighlightColour;
    EXPECT_TRUE(highlighted);
}

TEST_F(MarkerDrawingTest, TheCursorStandsWhereTheStaffIsPlaced) {
    DispatchKey(b.ctx(), Key::PageUp, {.ctrl = true});
    const nlohmann::json calls = markers();
    const Box above = *InsertionCursorBox(dc, b.doc(), 300, 0);
    EXPECT_EQ(CallsOf(calls, "rect").back()["bottom"], above.bottom);
}

TEST_F(MarkerDrawingTest, BeforeAMarkedNoteTheSecondFormIsAnOutlineToItsLeft) {
    b.doc().element()->noteWord().setBit(18, true);
    const nlohmann::json calls = markers();
    const auto rects = CallsOf(calls, "rect");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_LT(rects[0]["right"].get<int>(), 300);
    EXPECT_TRUE(rects[0]["fill"].is_null());
}

}  // namespace
}  // namespace notavera
