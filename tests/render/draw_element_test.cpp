// The element dispatcher and the drawing state each staff sets.
#include "render/draw_element.h"

#include <gtest/gtest.h>

#include "score/element_creation.h"
#include "support/staff_drawing.h"

namespace notavera {
namespace {

TEST(BeginStaff, TakesSizeOldNotationAndGreyFromTheStaff) {
    test::StaffDrawing page(test::ModelOfStaves(2));
    page.dc.staves[1].small = true;
    page.staff(1).key().setOldNotation(true);
    page.staff(1).key().setGrey(true);
    BeginStaff(page.dc, page.staff(1), 1);
    EXPECT_TRUE(page.dc.draw.isSmallStaff);
    EXPECT_TRUE(page.dc.draw.alternateGlyphs);
    EXPECT_EQ(page.dc.draw.staffColour, RgbColour(128, 128, 128));
    EXPECT_EQ(page.dc.draw.drawColour, RgbColour(128, 128, 128));
    page.dc.draw.isCueSize = true;
    page.dc.draw.lineStyle = 2;
    BeginStaff(page.dc, page.staff(0), 0);
    EXPECT_FALSE(page.dc.draw.isCueSize) << "a staff starts at full size";
    EXPECT_EQ(page.dc.draw.lineStyle, 0);
    EXPECT_FALSE(page.dc.draw.isSmallStaff);
    EXPECT_FALSE(page.dc.draw.alternateGlyphs);
    EXPECT_EQ(page.dc.draw.drawColour, 0u);
}

TEST(BeginStaff, ErasingKeepsTheErasingColour) {
    test::StaffDrawing page(test::ModelOfStaves(1));
    page.dc.erasing = true;
    page.dc.draw.drawColour = RgbColour(255, 255, 255);
    page.staff(0).key().setGrey(true);
    BeginStaff(page.dc, page.staff(0), 0);
    EXPECT_EQ(page.dc.draw.drawColour, RgbColour(255, 255, 255));
}

TEST(DrawElement, CueSizeHoldsForTheElementOnly) {
    test::StaffDrawing page(test::ModelOfStaves(1));
    page.onStaff(0);
    CreateSign(page.doc, 400, 0, 1, SignType::Clef, 0)->w0().setCueSize(true);
    CreateSign(page.doc, 600, 0, 3, SignType::Clef, 0);
    page.drawStaff(0);
    const auto g = page.calls("glyph");
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0]["fontHeight"], 120);
    EXPECT_EQ(g[1]["fontHeight"], 160);
    EXPECT_FALSE(page.dc.draw.isCueSize);
}

TEST(DrawElement, IndicesOutsideTheStaffDrawNothing) {
    test::StaffDrawing page(test::ModelOfStaves(1));
    page.onStaff(0);
    CreateSign(page.doc, 400, 0, 1, SignType::Clef, 0);
    DrawElement(page.dc, page.staff(0), -1);
    DrawElement(page.dc, page.staff(0), 1);
    EXPECT_TRUE(page.canvas.calls().empty());
}

TEST(DrawElement, AStaffThePassHasNotPlacedDrawsNothing) {
    test::StaffDrawing page(test::ModelOfStaves(1));
    page.onStaff(0);
    CreateSign(page.doc, 400, 0, '|', SignType::Bar, 0);
    page.dc.staves.clear();
    DrawElement(page.dc, page.staff(0), 0);
    EXPECT_TRUE(page.canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
