// Pitch offsets, the clef in force, staff places, the visible region, scroll ranges and continuous pages.
#include "render/geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "print/staff_layout_model.h"

namespace notavera {
namespace {

TEST(PitchToOffset, HalfSpacesFromTheReferenceByStepOctaveAndClef) {
    EXPECT_EQ(PitchToOffset(1, 4, ClefValueOfClef(1), 10), -180);  // middle C: the ledger line under a G clef
    EXPECT_EQ(PitchToOffset(1, 4, ClefValueOfClef(3), 10), -60);   // ... and the one over an F clef
    EXPECT_EQ(PitchToOffset(2, 4, -2, 10) - PitchToOffset(1, 4, -2, 10), 10);
    EXPECT_EQ(PitchToOffset(1, 5, -2, 10) - PitchToOffset(1, 4, -2, 10), 70);
    EXPECT_EQ(PitchToOffset(1, 3, -2, 8), -17 * 8 - 7 * 8 + (-2 + 1) * 8);
    // Staves of more than five lines are lowered by their extra lines.
    EXPECT_EQ(PitchToOffset(1, 4, 0, 10, 6), PitchToOffset(1, 4, 0, 10) - 20);
    EXPECT_EQ(PitchToOffset(1, 4, 0, 10, 5), PitchToOffset(1, 4, 0, 10));
    const int clefValues[] = {-2, -4, 10, 8, 0, 2, 4, 6, 5, 12, 8, 0};  // of clefs 1 to 12
    for (int clef = 1; clef <= 12; ++clef) EXPECT_EQ(ClefValueOfClef(clef), clefValues[clef - 1]) << clef;
    EXPECT_EQ(ClefValueOfClef(0), 0);
    EXPECT_EQ(ClefValueOfClef(13), 0);
}

TEST(ClefChanges, KeptSortedWhateverTheDrawingOrderUpToThirty) {
    ClefChanges c;
    EXPECT_EQ(c.valueAt(500), 0);  // before the first clef
    c.add(900, 10);
    c.add(100, -2);
    c.add(500, 4);
    EXPECT_EQ((std::vector{c.valueAt(99), c.valueAt(100), c.valueAt(499), c.valueAt(600), c.valueAt(5000)}),
              (std::vector{0, -2, -2, 4, 10}));
    c.add(500, 8);  // a later clef at the same x takes over
    EXPECT_EQ(c.valueAt(500), 8);
    c.clear();
    for (int i = 0; i < 30; ++i) c.add(i * 10, i % 2 == 0 ? -2 : 10);
    c.add(1000, 4);  // the thirty-first is ignored
    EXPECT_EQ(c.count(), 30);
    EXPECT_EQ(c.valueAt(2000), 10);
    std::vector<StaffDrawState> staves(1);
    staves[0].clefs.add(0, 10);
    EXPECT_EQ(ClefValueAt(staves, 0, 10), 10);
    EXPECT_EQ(ClefValueAt(staves, 1, 10), 0);
    EXPECT_EQ(ClefValueAt(staves, -1, 10), 0);
}

std::uint32_t StaffWord(unsigned distance, unsigned lines, bool small = false, bool indented = false) {
    std::uint32_t w = 0;
    staff_model::Distance::set(w, distance);
    staff_model::LineCount::set(w, lines);
    staff_model::Small::set(w, small ? 1 : 0);
    staff_model::Indented::set(w, indented ? 1 : 0);
    return w;
}

TEST(StaffPlacement, ReferenceHeightsOfOneFourAndFiveLineStavesAndTheirFlags) {
    StaffLayoutModel model;
    model.setStaffCount(5);
    model.staffWord(0) = StaffWord(8, 5, false, true);
    model.staffWord(1) = StaffWord(10, 1);
    model.staffWord(2) = StaffWord(10, 4);
    model.staffWord(3) = StaffWord(10, 5, true);
    model.staffWord(4) = StaffWord(5, 5);
    staff_model::Grey::set(model.staffWord(4), 1);
    staff_model::Invisible::set(model.staffWord(4), 1);
    const auto staves = PlaceStaves(model, DeriveStaffMetrics(20, {}), {2970, 150, 300, 2000});
    ASSERT_EQ(staves.size(), 5u);
    EXPECT_EQ(staves[0].topLine, 2970 - 40 - 160);
    EXPECT_DOUBLE_EQ(staves[0].referenceY, staves[0].topLine + 80);
    EXPECT_EQ((std::array{staves[0].left, staves[0].right, staves[1].left}), (std::array{300, 2000, 150}));
    // One line is the middle line of the virtual five-line staff; four lines are its lower four.
    EXPECT_EQ(staves[1].topLine, staves[0].topLine - 200);
    EXPECT_DOUBLE_EQ(staves[1].referenceY, staves[1].topLine + 40 + 80);
    EXPECT_DOUBLE_EQ(staves[2].referenceY, staves[2].topLine + 20 + 80);
    // A small staff counts its distance and height in small spaces.
    EXPECT_TRUE(staves[3].small);
    EXPECT_EQ(staves[3].topLine, staves[2].topLine - 160);
    EXPECT_DOUBLE_EQ(staves[3].referenceY, staves[3].topLine + 64);
    EXPECT_TRUE(staves[4].grey);
    EXPECT_TRUE(staves[4].invisible);
    EXPECT_FALSE(staves[4].small);
    EXPECT_FALSE(staves[0].grey || staves[0].invisible);
}

TEST(VisibleRegion, TheClientAreaInPageUnits) {
    const PageRegion r = VisibleRegion(200, 1000, 800, 600, {2, 1});
    EXPECT_EQ((std::array{r.x0, r.x1, r.y0, r.y1}), (std::array{100, 500, 500, 800}));
    EXPECT_TRUE(r.containsX(100));
    EXPECT_TRUE(r.containsX(500));
    EXPECT_FALSE(r.containsX(501));
    EXPECT_FALSE(r.containsX(99));
}

TEST(ScrollRanges, PageExtentLessFiveSixthsOfTheWindowInUnitsNeverNegative) {
    ScrollInput in;
    in.pageHeight = 2970;
    in.verticalPageOffset = 3;
    in.pageWidth = 2100;
    in.leftEdge = 100;
    in.lineEnd = 2000;
    in.clientWidth = 1200;
    in.clientHeight = 600;
    in.unitX = in.unitY = 106;
    const ScrollRanges r = ComputeScrollRanges(in, {1, 1});
    EXPECT_EQ(r.vertical, (3000 - 500) / 106 + 3);
    EXPECT_EQ(r.horizontal, (2200 - 1000) / 106 + 3);
    EXPECT_EQ(ComputeScrollRanges(in, {2, 1}).vertical, (6000 - 500) / 106 + 3);
    in.lineEnd = 2500;  // a continuous line wider than the page
    EXPECT_EQ(ComputeScrollRanges(in, {1, 1}).horizontal, (2400 - 1000) / 106 + 3);
    in.clientWidth = in.clientHeight = 100000;
    EXPECT_EQ(ComputeScrollRanges(in, {1, 2}).horizontal, 0);
    EXPECT_EQ(ComputeScrollRanges(in, {1, 2}).vertical, 0);
}

TEST(ContinuousPages, TheLineGrowsByPagesAndPagesPerLine) {
    const ContinuousGeometry g = EnterContinuousPages(1900, 2, 3);
    EXPECT_EQ((std::array{g.pageStep, g.lineEnd, g.pageWidth}), (std::array{3800, 11400, 11500}));
    EXPECT_EQ(EnterContinuousPages(1900, 1, 25).pages, MaxContinuousPages);
    EXPECT_EQ(EnterContinuousPages(1900, 0, 0).lineEnd, 1900);
}

}  // namespace
}  // namespace notavera
