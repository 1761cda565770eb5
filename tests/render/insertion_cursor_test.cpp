// The insertion cursor: its height follows the clef in force at x, the insertion octave, the staff's size and its
// line count; it is drawn zoomed and NOT-XOR, and leaves the canvas drawing plainly afterwards.
#include "render/insertion_cursor.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/page_pass.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::NewDocument;
using test::NoteAt;

struct InsertionCursorTest : ::testing::Test {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;

    void SetUp() override { DrawPage(dc, doc); }  // places the staves without drawing
    double Reference(int staff) const { return dc.staves[static_cast<std::size_t>(staff)].referenceY; }
};

TEST_F(InsertionCursorTest, UnderATrebleClefSpansTheOctaveFromMiddleC) {
    dc.staves[0].clefs.add(0, ClefValueOfClef(1));
    const auto box = InsertionCursorBox(dc, doc, 300);
    ASSERT_TRUE(box);
    // Middle C lies 18 half-spaces under the reference height; the band is one octave (7 half-spaces) high.
    EXPECT_EQ(*box, (Box{300, static_cast<int>(Reference(0)) - 180, 310, static_cast<int>(Reference(0)) - 110}));
}

TEST_F(InsertionCursorTest, FollowsTheClefInForceAtXAndTheOctave) {
    dc.staves[0].clefs.add(0, ClefValueOfClef(1));
    dc.staves[0].clefs.add(500, ClefValueOfClef(3));  // F clef on line 4 from x 500
    const int treble = InsertionCursorBox(dc, doc, 400)->bottom;
    const int bass = InsertionCursorBox(dc, doc, 600)->bottom;
    EXPECT_EQ(bass - treble, 12 * 10);  // F clef value 10 against −2
    doc.insertion.octave = 3;
    EXPECT_EQ(InsertionCursorBox(dc, doc, 600)->bottom, bass - 70);
}

TEST_F(InsertionCursorTest, WithoutClefCountsFromValueZero) {
    EXPECT_EQ(InsertionCursorBox(dc, doc, 100)->bottom, static_cast<int>(Reference(0)) - 160);
}

TEST_F(InsertionCursorTest, SmallStaffUsesItsOwnHalfSpaceAndExtraLinesLowerIt) {
    doc.currentStaff = 2;
    dc.staves[2].small = true;
    Box box = *InsertionCursorBox(dc, doc, 100);
    EXPECT_EQ(box.top - box.bottom, dc.metrics.octaveSpan[1]);
    EXPECT_EQ(box.bottom, static_cast<int>(Reference(2)) - 16 * dc.metrics.halfSpace[1]);
    dc.staves[2].small = false;
    dc.staves[2].lines = 6;
    box = *InsertionCursorBox(dc, doc, 100);
    EXPECT_EQ(box.bottom, static_cast<int>(Reference(2)) - 18 * 10);
}

TEST_F(InsertionCursorTest, NoCursorOffThePlacedStaves) {
    doc.currentStaff = 10;
    EXPECT_FALSE(InsertionCursorBox(dc, doc, 100));
    doc.currentStaff = -1;
    EXPECT_FALSE(InsertionCursorBox(dc, doc, 100));
    doc.currentStaff = 0;
    doc.currentPage = 2;  // not in memory
    EXPECT_FALSE(InsertionCursorBox(dc, doc, 100));
}

TEST_F(InsertionCursorTest, DrawnZoomedAndNotXorThenCopyAgain) {
    RecordingCanvas canvas;
    dc.canvas = &canvas;
    ApplyZoom(dc, {2, 1});
    DrawPage(dc, doc);
    const Box page = *InsertionCursorBox(dc, doc, 300);
    const std::size_t before = canvas.calls().size();
    DrawInsertionCursor(dc, doc, 300);
    const auto& calls = canvas.calls();
    ASSERT_EQ(calls.size(), before + 3);
    EXPECT_EQ(calls[before]["op"], "rasterOp");
    EXPECT_EQ(calls[before]["mode"], "notXor");
    EXPECT_EQ(calls[before + 1]["op"], "rect");
    EXPECT_EQ(calls[before + 1]["left"], 2 * page.left);
    EXPECT_EQ(calls[before + 1]["top"], 2 * page.top);
    EXPECT_EQ(calls[before + 1]["fill"], 0);
    EXPECT_EQ(calls[before + 2]["mode"], "copy");
}

}  // namespace
}  // namespace notavera
