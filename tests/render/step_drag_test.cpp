// The stepped drag: which arrow a mouse move becomes and where the anchor goes.
#include "render/step_drag.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

struct DragCase {
    Point anchor, mouse;
    int stepX, stepY;
    bool noReport;
    int code, moved;
    Point after;
};

class StepDragCases : public ::testing::TestWithParam<DragCase> {};

TEST_P(StepDragCases, OneArrowStepAtATime) {
    const DragCase& c = GetParam();
    const StepDragResult r = StepDrag(c.anchor, c.mouse, c.stepX, c.stepY, c.noReport);
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.moved, c.moved);
    EXPECT_EQ(r.anchor, c.after);
    EXPECT_EQ(r.warp, c.code != 0);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, StepDragCases,
    ::testing::Values(DragCase{{0, 0}, {0, 25}, 10, 20, false, ArrowUp, 20, {0, 20}},
                      DragCase{{0, 0}, {3, -20}, 10, 20, false, ArrowDown, -20, {0, -20}},  // exactly one step
                      DragCase{{0, 0}, {5, 19}, 10, 20, false, 0, 0, {0, 0}},               // short of a step
                      DragCase{{0, 0}, {12, 3}, 10, 20, false, ArrowRight, 10, {10, 0}},
                      DragCase{{0, 0}, {-10, 0}, 10, 20, false, ArrowLeft, -10, {-10, 0}},
                      DragCase{{0, 0}, {15, 15}, 10, 20, false, ArrowRight, 10, {10, 0}},  // vertical too short
                      DragCase{{0, 0}, {25, 25}, 10, 20, false, ArrowUp, 20, {0, 20}},
                      DragCase{{0, 0}, {9, 2}, 10, 20, false, 0, 0, {0, 0}},
                      DragCase{{5, 5}, {100, 200}, 0, 20, false, 0, 0, {100, 200}},  // no step: the anchor follows
                      DragCase{{0, 0}, {0, 30}, 10, 20, true, ArrowUp, 0, {0, 20}},   // no report of the distance
                      DragCase{{0, 0}, {0, 0}, 10, 0, false, 0, 0, {0, 0}},           // a zero step never repeats
                      DragCase{{0, 0}, {0, 50}, 10, 0, false, 0, 0, {0, 0}},
                      DragCase{{0, 0}, {40, 50}, 10, 0, false, ArrowRight, 10, {10, 0}}));

}  // namespace
}  // namespace notavera
