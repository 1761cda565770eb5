// The drawing window's selection: a placed drawing or picture is framed by the room its own ink takes.
#include "shell/drawing_window.h"

#include <gtest/gtest.h>

#include "edit/drawing_elements.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

TEST(DrawingWindow, TheSelectionFramesWhatTheDrawingOrPictureCovers) {
    test::ScoreBuilder score;
    EditorContext& ctx = score.ctx();
    OpenDrawingWindow(ctx);
    DrawingRecording drawing;
    drawing.points = {{0, 0}, {300, -50}, {-100, 200}};
    drawing.shapes = {{ShapeCode{static_cast<unsigned>(ShapeKind::Polygon)}.encode(), 0, 2}};
    ASSERT_TRUE(InsertDrawing(ctx.doc, ctx.doc.currentStaff, {1000, 2000}, drawing, 1));
    const std::optional<DrawingStaffFrame> frame = DrawingStaffFrameOf(ctx.doc, ctx.doc.currentStaff);
    ASSERT_TRUE(frame);
    // On a whole eighth space, where the picture is placed exactly.
    const int top = static_cast<int>(frame->reference) + 40 * frame->eighthSpace;
    const std::uint8_t metafile[] = {1, 2, 3};
    ASSERT_TRUE(InsertPicture(ctx.doc, ctx.doc.currentStaff, {1500, static_cast<double>(top)}, {8, 400, 250}, metafile));
    const std::pair<Key, Box> selections[] = {
        {Key::F5, {990, 1940, 1310, 2160}},
        {Key::F5, {1490, top - 260, 1910, top + 10}},
        {Key::F4, {990, 1940, 1310, 2160}},
    };
    for (const auto& [key, box] : selections) {
        DispatchDrawingKey(ctx, key, {});
        const std::optional<DrawingFeedback> feedback = DrawingWindowFeedback(ctx);
        ASSERT_TRUE(feedback && feedback->selection);
        EXPECT_EQ(*feedback->selection, box);
    }
}

}  // namespace
}  // namespace notavera
