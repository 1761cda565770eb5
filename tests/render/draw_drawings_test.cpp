// Replaying a recorded drawing: the shapes whose points the recording holds are drawn, a filled polygon of two
// points among them, and the shapes that point past the recording or run backwards are skipped.
#include "render/draw_drawings.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"

namespace notavera {
namespace {

TEST(ReplayRecording, DrawsTheShapesWhosePointsItHoldsAndSkipsTheOthers) {
    RecordingCanvas canvas;
    DrawingContext dc;
    dc.canvas = &canvas;
    const auto code = [](ShapeKind kind) { return ShapeCode{static_cast<unsigned>(kind)}.encode(); };
    DrawingRecording r;
    r.points = {{0, 0}, {100, 0}, {0, 100}};
    r.shapes = {{code(ShapeKind::FilledPolygon), 0, 1},
                {code(ShapeKind::Line), 1, 3},
                {code(ShapeKind::Line), 2, 1},
                {code(ShapeKind::Rectangle), 1, 2}};
    ReplayRecording(dc, r, 1000, 2000, 0);
    std::vector<std::string> ops;
    for (const auto& call : canvas.calls()) ops.push_back(call["op"]);
    EXPECT_EQ(ops, (std::vector<std::string>{"drawing", "polygon", "rect"}));
    EXPECT_EQ(canvas.calls()[2]["left"], 1100);
    EXPECT_EQ(canvas.calls()[2]["top"], 2100);
}

}  // namespace
}  // namespace notavera
