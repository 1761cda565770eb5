// The manipulable curve of the character {: a curve sign at the cursor whose blob holds a drawable default arc.
#include "edit/curve_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "render/curve_signs.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

TEST(CurveEntryTest, TheCurveIsAnArcAboveTheStaffAtTheCursor) {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    ctx.doc = test::NewDocument(1);
    ctx.shell.cursor.x = 200;
    DispatchChar(ctx, '{');
    const auto& elements = ctx.doc.staff()->elements;
    ASSERT_EQ(elements.size(), 1u);
    const ElementRecord& e = elements[0];
    EXPECT_TRUE(e.isSignOfType(SignType::Curve));
    EXPECT_EQ(e.x, 200);
    ASSERT_TRUE(e.hasBlob());
    const std::optional<CurvePoints> p = DecodeCurvePoints(e.blob.payload());
    ASSERT_TRUE(p);
    // Both ends above the top line of the five-line staff (a staff height below the reference), the middle points
    // higher still, the curve running to the right.
    const int topLine = -CursorFrameOf(ctx.doc)->staffHeight;
    EXPECT_EQ((*p)[0].x, 0);
    EXPECT_GT((*p)[0].y, topLine);
    EXPECT_EQ((*p)[0].y, (*p)[3].y);
    EXPECT_GT((*p)[1].y, (*p)[0].y);
    EXPECT_EQ((*p)[1].y, (*p)[2].y);
    EXPECT_LT((*p)[0].x, (*p)[1].x);
    EXPECT_LT((*p)[2].x, (*p)[3].x);
    EXPECT_EQ(ctx.shell.cursor.x, 200);
    EXPECT_TRUE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
