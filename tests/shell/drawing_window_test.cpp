// The drawing window: the selection frames the room a drawing or picture takes, the keys move and scale what is
// selected, and a picture fits its 16-bit blob.
#include "shell/drawing_window.h"

#include <gtest/gtest.h>

#include <tuple>

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

// A picture's blob counts its length in 16 bits: a metafile may fill it, not overflow it.
TEST(DrawingWindow, APictureMayFillItsBlobButNotOverflowIt) {
    test::ScoreBuilder score;
    ScoreDocument& doc = score.doc();
    const std::vector<std::uint8_t> full(maxPictureBytes, 0);
    EXPECT_TRUE(InsertPicture(doc, doc.currentStaff, {1500, 2000}, {8, 40, 25}, full));
    const std::vector<std::uint8_t> over(maxPictureBytes + 1, 0);
    EXPECT_FALSE(InsertPicture(doc, doc.currentStaff, {1500, 2000}, {8, 40, 25}, over));
}

// The scaling keys on a selected picture: F1 and F2 both extents, F6 and F7 the width, F8 and F9 the height.
TEST(DrawingWindow, ScalingKeysChangeAPicturesExtentsByFive) {
    test::ScoreBuilder score;
    EditorContext& ctx = score.ctx();
    OpenDrawingWindow(ctx);
    const std::uint8_t metafile[] = {1, 2, 3};
    const std::optional<int> index = InsertPicture(ctx.doc, ctx.doc.currentStaff, {1500, 2000}, {8, 400, 250}, metafile);
    ASSERT_TRUE(index);
    DispatchDrawingKey(ctx, Key::F4, {});
    const std::tuple<Key, int, int> keys[] = {{Key::F1, 395, 245}, {Key::F2, 400, 250}, {Key::F6, 395, 250},
                                              {Key::F7, 400, 250}, {Key::F8, 400, 245}, {Key::F9, 400, 250}};
    for (const auto& [key, width, height] : keys) {
        DispatchDrawingKey(ctx, key, {});
        const std::optional<PictureBlob> p = DecodePicture(ctx.doc.staff()->elements.at(*index).blob.payload());
        ASSERT_TRUE(p);
        EXPECT_EQ(std::pair(p->head.xExtent, p->head.yExtent), std::pair(width, height));
    }
    // Up and Down move the selected picture by two eighth spaces; without a selection they move the cursor.
    const ElementRecord& picture = ctx.doc.staff()->elements.at(*index);
    const int param = picture.param;
    DispatchDrawingKey(ctx, Key::Up, {});
    EXPECT_EQ(picture.param, param + 2);
    DispatchDrawingKey(ctx, Key::Down, {});
    DispatchDrawingKey(ctx, Key::Down, {});
    EXPECT_EQ(picture.param, param - 2);
    DispatchDrawingKey(ctx, Key::Escape, {});
    const double y = DrawingWindowFeedback(ctx)->cursor.y;
    DispatchDrawingKey(ctx, Key::Up, {});
    EXPECT_EQ(picture.param, param - 2);
    EXPECT_EQ(DrawingWindowFeedback(ctx)->cursor.y, y + 1);
}

}  // namespace
}  // namespace notavera
