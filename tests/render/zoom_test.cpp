// Zoom conversions, the Zoom menu's fractions, and window pixels to page points.
#include "render/zoom.h"

#include <gtest/gtest.h>

#include "render/view_mapping.h"

namespace notavera {
namespace {

TEST(Zoom, ConversionsTruncateTowardZero) {
    EXPECT_EQ(ToDevice(160, {3, 4}), 120);
    EXPECT_EQ(ToDevice(-7, {1, 2}), -3);
    EXPECT_EQ(ToPage(10, {3, 4}), 13);
    EXPECT_EQ(ToPage(-10, {3, 4}), -13);
    EXPECT_EQ(ToDevice(2970, {99, 1}), 294030);
}

TEST(Zoom, MenuFractionsAndTheClampedDialog) {
    const ZoomFraction menu[] = {{1, 1}, {2, 1}, {1, 2}, {3, 2}, {3, 4}};  // as the items' labels show them
    for (int command = 51; command <= 55; ++command) EXPECT_EQ(ZoomForCommand(command), menu[command - 51]);
    EXPECT_FALSE(ZoomForCommand(ZoomOtherCommand));
    EXPECT_FALSE(ZoomForCommand(50));
    EXPECT_EQ(ZoomFromDialog(0, 150), (ZoomFraction{1, 99}));
    EXPECT_EQ(ZoomFromDialog(99, 1), (ZoomFraction{99, 1}));
}

TEST(ViewMapping, PixelsCountDownFromTheTopAndTheZoomScalesBackToThePage) {
    const ViewMapping m{{100, 200}, 2.0, 300.0, {1, 1}};
    EXPECT_EQ(PagePointOfPixel(m, 0, 300), (Point{100, 200}));  // the client area's bottom-left corner
    EXPECT_EQ(PagePointOfPixel(m, 10, 0), (Point{120, 800}));
    EXPECT_EQ(PagePointOfPixel(m, 0.4, 299.6), (Point{101, 201}));  // the nearest logical unit
    EXPECT_EQ(PagePointOfPixel({{400, 0}, 1.0, 100.0, {2, 1}}, 100, 0), (Point{250, 50}));
    EXPECT_EQ(PagePointOfPixel({{0, 0}, 1.0, 100.0, {3, 4}}, 30, 70), (Point{40, 40}));
}

}  // namespace
}  // namespace notavera
