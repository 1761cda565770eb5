// Zoom conversions and the Zoom menu.
#include <gtest/gtest.h>

#include "render/zoom.h"

namespace notavera {
namespace {

TEST(Zoom, ConversionsTruncateTowardZero) {
    EXPECT_EQ(ToDevice(160, {3, 4}), 120);
    EXPECT_EQ(ToDevice(7, {1, 2}), 3);
    EXPECT_EQ(ToDevice(-7, {1, 2}), -3);
    EXPECT_EQ(ToPage(10, {3, 4}), 13);
    EXPECT_EQ(ToPage(-10, {3, 4}), -13);
    EXPECT_EQ(ToDevice(2970, {99, 1}), 294030);
}

TEST(Zoom, MenuCommandsGiveTheirFractions) {
    EXPECT_EQ(ZoomForCommand(51), (ZoomFraction{1, 1}));
    EXPECT_EQ(ZoomForCommand(52), (ZoomFraction{2, 1}));
    EXPECT_EQ(ZoomForCommand(53), (ZoomFraction{1, 2}));
    EXPECT_EQ(ZoomForCommand(54), (ZoomFraction{3, 2}));
    EXPECT_EQ(ZoomForCommand(55), (ZoomFraction{3, 4}));
    EXPECT_FALSE(ZoomForCommand(ZoomOtherCommand));
    EXPECT_FALSE(ZoomForCommand(50));
}

TEST(Zoom, OtherFractionIsClampedNeverRefused) {
    EXPECT_EQ(ZoomFromDialog(0, 150), (ZoomFraction{1, 99}));
    EXPECT_EQ(ZoomFromDialog(-5, 99), (ZoomFraction{1, 99}));
    EXPECT_EQ(ZoomFromDialog(7, 3), (ZoomFraction{7, 3}));
}

}  // namespace
}  // namespace notavera
