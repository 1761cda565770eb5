// Window pixels to page points: the window origin, the pixel size and the zoom.
#include "render/view_mapping.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

TEST(ViewMappingTest, PixelsCountDownFromTheTopWhilePageUnitsCountUp) {
    const ViewMapping m{{100, 200}, 2.0, 300.0, {1, 1}};
    EXPECT_EQ(PagePointOfPixel(m, 0, 300), (Point{100, 200}));  // the client area's bottom-left corner
    EXPECT_EQ(PagePointOfPixel(m, 10, 0), (Point{120, 800}));
    EXPECT_EQ(PagePointOfPixel(m, 0.4, 299.6), (Point{101, 201}));  // the nearest logical unit
}

TEST(ViewMappingTest, TheZoomScalesLogicalUnitsBackToThePage) {
    const ViewMapping twice{{400, 0}, 1.0, 100.0, {2, 1}};
    EXPECT_EQ(PagePointOfPixel(twice, 100, 0), (Point{250, 50}));
    const ViewMapping threeQuarters{{0, 0}, 1.0, 100.0, {3, 4}};
    EXPECT_EQ(PagePointOfPixel(threeQuarters, 30, 70), (Point{40, 40}));
}

}  // namespace
}  // namespace notavera
