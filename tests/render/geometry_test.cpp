// Pitch offsets, the clef in force, staff positions, the visible region, scroll ranges and continuous pages.
#include <gtest/gtest.h>

#include "render/geometry.h"
#include "score/staff_layout_model.h"

namespace notavera {
namespace {

TEST(PitchToOffset, MiddleCOnTrebleAndBassClefs) {
    // G clef: the first ledger line below the staff, 18 half spaces below the reference.
    EXPECT_EQ(PitchToOffset(1, 4, ClefValueOfClef(1), 10), -180);
    // F clef on line 4: the first ledger line above it.
    EXPECT_EQ(PitchToOffset(1, 4, ClefValueOfClef(3), 10), -60);
}

TEST(PitchToOffset, EachStepIsOneHalfSpaceAndEachOctaveSeven) {
    EXPECT_EQ(PitchToOffset(2, 4, -2, 10) - PitchToOffset(1, 4, -2, 10), 10);
    EXPECT_EQ(PitchToOffset(1, 5, -2, 10) - PitchToOffset(1, 4, -2, 10), 70);
    EXPECT_EQ(PitchToOffset(1, 3, -2, 8), -17 * 8 - 7 * 8 + (-2 + 1) * 8);
}

TEST(PitchToOffset, StavesOfMoreThanFiveLinesAreLowered) {
    EXPECT_EQ(PitchToOffset(1, 4, 0, 10, 6), PitchToOffset(1, 4, 0, 10) - 20);
    EXPECT_EQ(PitchToOffset(1, 4, 0, 10, 1), PitchToOffset(1, 4, 0, 10));
}

TEST(ClefValues, ByClefNumber) {
    const int expected[] = {-2, -4, 10, 8, 0, 2, 4, 6, 5, 12, 8, 0};
    for (int clef = 1; clef <= 12; ++clef) EXPECT_EQ(ClefValueOfClef(clef), expected[clef - 1]) << clef;
    EXPECT_EQ(ClefValueOfClef(0), 0);
    EXPECT_EQ(ClefValueOfClef(13), 0);
}

TEST(ClefChanges, BeforeTheFirstClefTheValueIsZero) {
    ClefChanges c;
    EXPECT_EQ(c.valueAt(500), 0);
    c.add(100, -2);
    EXPECT_EQ(c.valueAt(99), 0);
    EXPECT_EQ(c.valueAt(100), -2);
    EXPECT_EQ(c.valueAt(5000), -2);
}

TEST(ClefChanges, KeptSortedWhateverTheDrawingOrder) {
    ClefChanges c;
    c.add(900, 10);
    c.add(100, -2);
    c.add(500, 4);
    EXPECT_EQ(c.valueAt(200), -2);
    EXPECT_EQ(c.valueAt(600), 4);
    EXPECT_EQ(c.valueAt(950), 10);
    // A later clef at the same x takes over.
    c.add(500, 8);
    EXPECT_EQ(c.valueAt(500), 8);
}

TEST(ClefChanges, TheThirtyFirstChangeIsIgnored) {
    ClefChanges c;
    for (int i = 0; i < 30; ++i) c.add(i * 10, i % 2 == 0 ? -2 : 10);
    EXPECT_EQ(c.count(), 30);
    c.add(1000, 4);
    EXPECT_EQ(c.count(), 30);
    EXPECT_EQ(c.valueAt(2000), 10);
    c.clear();
    EXPECT_EQ(c.valueAt(2000), 0);
}

TEST(ClefChanges, UnknownStaffHasNoClef) {
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

TEST(StaffPlacement, ReferenceHeightsOfOneFourAndFiveLineStaves) {
    StaffLayoutModel model;
    model.setStaffCount(4);
    model.staffWord(0) = StaffWord(8, 5, false, true);
    model.staffWord(1) = StaffWord(10, 1);
    model.staffWord(2) = StaffWord(10, 4);
    model.staffWord(3) = StaffWord(10, 5, true);
    const StaffMetrics m = DeriveStaffMetrics(20, {});
    const auto staves = PlaceStaves(model, m, {2970, 150, 300, 2000});
    ASSERT_EQ(staves.size(), 4u);

    EXPECT_EQ(staves[0].topLine, 2970 - 40 - 160);
    EXPECT_DOUBLE_EQ(staves[0].referenceY, staves[0].topLine + 80);
    EXPECT_EQ(staves[0].left, 300);
    EXPECT_EQ(staves[0].right, 2000);

    // One line: it is the middle line of the virtual staff, whose top line lies two spaces above it.
    EXPECT_EQ(staves[1].topLine, staves[0].topLine - 200);
    EXPECT_DOUBLE_EQ(staves[1].referenceY - 80, staves[1].topLine + 40);
    EXPECT_EQ(staves[1].left, 150);

    // Four lines: the lower four of the virtual staff.
    EXPECT_DOUBLE_EQ(staves[2].referenceY - 80, staves[2].topLine + 20);

    // A small staff counts its distance and height in small spaces.
    EXPECT_TRUE(staves[3].small);
    EXPECT_EQ(staves[3].topLine, staves[2].topLine - 160);
    EXPECT_DOUBLE_EQ(staves[3].referenceY, staves[3].topLine + 64);
}

TEST(StaffPlacement, FlagsAreRead) {
    StaffLayoutModel model;
    model.setStaffCount(1);
    std::uint32_t w = StaffWord(5, 5);
    staff_model::Grey::set(w, 1);
    staff_model::Invisible::set(w, 1);
    model.staffWord(0) = w;
    const auto staves = PlaceStaves(model, DeriveStaffMetrics(20, {}), {});
    EXPECT_TRUE(staves[0].grey);
    EXPECT_TRUE(staves[0].invisible);
    EXPECT_FALSE(staves[0].small);
}

TEST(VisibleRegion, ClientAreaInPageUnits) {
    const PageRegion r = VisibleRegion(200, 1000, 800, 600, {2, 1});
    EXPECT_EQ(r.x0, 100);
    EXPECT_EQ(r.x1, 500);
    EXPECT_EQ(r.y0, 500);
    EXPECT_EQ(r.y1, 800);
    EXPECT_TRUE(r.containsX(100));
    EXPECT_TRUE(r.containsX(500));
    EXPECT_FALSE(r.containsX(501));
}

TEST(ScrollRanges, PageHeightLessFiveSixthsOfTheWindowInUnits) {
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
    const ScrollRanges doubled = ComputeScrollRanges(in, {2, 1});
    EXPECT_EQ(doubled.vertical, (6000 - 500) / 106 + 3);
}

TEST(ScrollRanges, NeverNegative) {
    ScrollInput in;
    in.pageWidth = 100;
    in.pageHeight = 100;
    in.clientWidth = 100000;
    in.clientHeight = 100000;
    in.unitX = in.unitY = 10;
    const ScrollRanges r = ComputeScrollRanges(in, {1, 2});
    EXPECT_EQ(r.horizontal, 0);
    EXPECT_EQ(r.vertical, 0);
}

TEST(ContinuousPages, LineGrowsByPagesAndPagesPerLine) {
    const ContinuousGeometry g = EnterContinuousPages(1900, 2, 3);
    EXPECT_EQ(g.pageStep, 3800);
    EXPECT_EQ(g.lineEnd, 11400);
    EXPECT_EQ(g.pageWidth, 11500);
    EXPECT_EQ(EnterContinuousPages(1900, 1, 25).pages, MaxContinuousPages);
    EXPECT_EQ(EnterContinuousPages(1900, 0, 0).lineEnd, 1900);
}

}  // namespace
}  // namespace notavera
