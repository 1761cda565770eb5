// Recording a drawing: steps between points, shapes ended by a tool, and the limits of a recording.
#include <gtest/gtest.h>

#include "edit/drawing_recorder.h"

namespace notavera {
namespace {

TEST(DrawingRecorder, KeepsStepsAndShapes) {
    DrawingRecorder r;
    r.start(2);
    EXPECT_EQ(r.addPoint({5, 5}), PointOutcome::Refused);  // no tool chosen yet
    r.choose(ShapeKind::Line, ShapeWidth::Thin, ShapeLine::Dotted);
    EXPECT_EQ(r.addPoint({100, 200}), PointOutcome::Added);
    EXPECT_EQ(r.addPoint({130, 190}), PointOutcome::Added);
    EXPECT_EQ(r.openPoints().size(), 2u);
    EXPECT_EQ(r.openPoints()[0].x, 100);
    r.choose(ShapeKind::Rectangle, ShapeWidth::Normal, ShapeLine::Continuous);
    r.addPoint({150, 150});  // a shape of one point draws nothing
    r.choose(ShapeKind::Ellipse, ShapeWidth::Normal, ShapeLine::Continuous);
    r.addPoint({160, 140});
    r.addPoint({170, 120});
    const std::optional<DrawingRecorder::Result> done = r.finish();
    ASSERT_TRUE(done);
    EXPECT_FALSE(r.recording());
    EXPECT_EQ(done->origin.x, 100);
    EXPECT_EQ(done->origin.y, 200);
    const std::vector<PointStep> steps{{0, 0}, {30, -10}, {20, -40}, {10, -10}, {10, -20}};
    EXPECT_EQ(done->recording.points, steps);
    const ShapeCode line{3, ShapeWidth::Thin, ShapeLine::Dotted};
    const std::vector<RecordedShape> shapes{{line.encode(), 0, 1}, {1, 3, 4}};
    EXPECT_EQ(done->recording.shapes, shapes);
}

TEST(DrawingRecorder, StopsAtItsLimits) {
    DrawingRecorder points;
    points.start(1);
    points.choose(ShapeKind::Polygon, ShapeWidth::Normal, ShapeLine::Continuous);
    for (int i = 0; i < 99; ++i) ASSERT_EQ(points.addPoint({1.0 * i, 0}), PointOutcome::Added);
    EXPECT_EQ(points.addPoint({0, 1}), PointOutcome::Finished);
    EXPECT_EQ(points.addPoint({0, 2}), PointOutcome::Refused);
    EXPECT_EQ(points.finish()->recording.points.size(), maxRecordedPoints);

    DrawingRecorder shapes;
    shapes.start(1);
    for (int i = 0; i < 20; ++i) {
        shapes.choose(ShapeKind::Line, ShapeWidth::Normal, ShapeLine::Continuous);
        shapes.addPoint({1.0 * i, 0});
        shapes.addPoint({1.0 * i, 10});
        EXPECT_EQ(shapes.endShape(), i == 19) << i;
    }
    EXPECT_EQ(shapes.finish()->recording.shapes.size(), maxRecordedShapes);
}

TEST(DrawingRecorder, ScalesEveryStep) {
    DrawingRecording r{{{3, 0, 1}}, {{2, -4}, {100, 50}}};
    ScaleRecording(r, 2.0, 0.5);
    const std::vector<PointStep> scaled{{4, -2}, {200, 25}};
    EXPECT_EQ(r.points, scaled);
    EXPECT_EQ(WithFirstStep(r, {7, 8}).points.front(), (PointStep{7, 8}));
}

}  // namespace
}  // namespace notavera
