// The stepped drag: which arrow a mouse move becomes and where the anchor goes.
#include <gtest/gtest.h>

#include "render/step_drag.h"

namespace notavera {
namespace {

struct DragCase {
    Point mouse;
    int code;
    int moved;
    Point anchor;
};

class StepDragCases : public ::testing::TestWithParam<DragCase> {};

TEST_P(StepDragCases, FromAnchorAtOrigin) {
    const DragCase& c = GetParam();
    const StepDragResult r = StepDrag({0, 0}, c.mouse, 10, 20);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.moved, c.moved);
    EXPECT_EQ(r.anchor, c.anchor);
    EXPECT_EQ(r.warp, c.code != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, StepDragCases,
    ::testing::Values(DragCase{{0, 25}, ArrowUp, 20, {0, 20}},       // up one vertical step
                      DragCase{{3, -20}, ArrowDown, -20, {0, -20}},  // down, exactly one step
                      DragCase{{5, 19}, 0, 0, {0, 0}},               // vertical but short of a step
                      DragCase{{12, 3}, ArrowRight, 10, {10, 0}},    // mostly horizontal
                      DragCase{{-10, 0}, ArrowLeft, -10, {-10, 0}},
                      DragCase{{15, 15}, ArrowRight, 10, {10, 0}},   // vertical too short: a horizontal step instead
                      DragCase{{25, 25}, ArrowUp, 20, {0, 20}},
                      DragCase{{9, 2}, 0, 0, {0, 0}}));

TEST(StepDrag, ZeroStepResetsTheAnchorToTheMouse) {
    const StepDragResult r = StepDrag({5, 5}, {100, 200}, 0, 20);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.anchor, (Point{100, 200}));
    EXPECT_FALSE(r.warp);
}

TEST(StepDrag, NoReportKeepsTheCodeButNotTheDistance) {
    const StepDragResult r = StepDrag({0, 0}, {0, 30}, 10, 20, true);
    EXPECT_EQ(r.code, ArrowUp);
    EXPECT_EQ(r.moved, 0);
    EXPECT_EQ(r.anchor, (Point{0, 20}));
}

TEST(StepDrag, ZeroVerticalStepNeverRepeatsInPlace) {
    const StepDragResult still = StepDrag({0, 0}, {0, 0}, 10, 0);
    EXPECT_EQ(still.code, 0);
    EXPECT_EQ(StepDrag({0, 0}, {0, 50}, 10, 0).code, 0);
    EXPECT_EQ(StepDrag({0, 0}, {40, 50}, 10, 0).code, ArrowRight);
}

}  // namespace
}  // namespace notavera
