// Geometry of the page and the window: pitch offsets, staff places, key signatures, zoom and scrolling.
#include "render/geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "score/staff_layout_model.h"
#include "render/key_signature_layout.h"
#include "render/music_font.h"
#include "render/step_drag.h"
#include "render/view_mapping.h"
#include "render/zoom.h"

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
    EXPECT_EQ(std::pair(ClefValueOfClef(0), ClefValueOfClef(13)), std::pair(0, 0));
}

TEST(ClefChanges, KeptSortedWhateverTheDrawingOrderUpToThirty) {
    ClefChanges c;
    for (auto [x, value] : {std::pair{900, 10}, {100, -2}, {500, 4}, {500, 8}}) c.add(x, value);
    // Nothing before the first clef; a later clef at the same x takes over.
    EXPECT_EQ((std::vector{c.valueAt(99), c.valueAt(100), c.valueAt(499), c.valueAt(500), c.valueAt(5000)}),
              (std::vector{0, -2, -2, 8, 10}));
    c.clear();
    for (int i = 0; i < 31; ++i) c.add(i * 10, i < 30 ? 10 : 4);  // the thirty-first is ignored
    EXPECT_EQ(std::pair(c.count(), c.valueAt(2000)), std::pair(30, 10));
    std::vector<StaffDrawState> staves(1);
    staves[0].clefs.add(0, 10);
    EXPECT_EQ((std::vector{ClefValueAt(staves, 0, 10), ClefValueAt(staves, 1, 10), ClefValueAt(staves, -1, 10)}),
              (std::vector{10, 0, 0}));
}

TEST(StaffPlacement, IndentedStavesStartAtTheIndentAndFourLinesAreTheLowerFourOfFive) {
    StaffLayoutModel model;
    model.setStaffCount(2);
    for (int i = 0; i < 2; ++i) {
        staff_model::Distance::set(model.staffWord(i), i == 0 ? 8 : 10);
        staff_model::LineCount::set(model.staffWord(i), i == 0 ? 5 : 4);
    }
    staff_model::Indented::set(model.staffWord(0), 1);
    const auto staves = PlaceStaves(model, DeriveStaffMetrics(20, {}), {2970, 150, 300, 2000});
    ASSERT_EQ(staves.size(), 2u);
    EXPECT_EQ((std::vector{staves[0].topLine, staves[0].left, staves[0].right, staves[1].topLine, staves[1].left}),
              (std::vector{2970 - 40 - 160, 300, 2000, 2970 - 40 - 360, 150}));
    EXPECT_DOUBLE_EQ(staves[0].referenceY, staves[0].topLine + 80);
    EXPECT_DOUBLE_EQ(staves[1].referenceY, staves[1].topLine + 20 + 80);
}

TEST(ScrollRanges, PageExtentLessFiveSixthsOfTheWindowNeverNegativeAndContinuousLinesGrowByPages) {
    ScrollInput in{.pageWidth = 2100,
                   .pageHeight = 2970,
                   .verticalPageOffset = 3,
                   .leftEdge = 100,
                   .lineEnd = 2500,
                   .clientWidth = 1200,
                   .clientHeight = 600,
                   .unitX = 106,
                   .unitY = 106};
    const ScrollRanges r = ComputeScrollRanges(in, {2, 1});  // the line is wider than the page
    EXPECT_EQ(std::pair(r.horizontal, r.vertical), std::pair((4800 - 1000) / 106 + 3, (6000 - 500) / 106 + 3));
    in.clientWidth = in.clientHeight = 100000;
    EXPECT_EQ(std::pair(ComputeScrollRanges(in, {1, 2}).horizontal, ComputeScrollRanges(in, {1, 2}).vertical),
              std::pair(0, 0));
    const ContinuousGeometry g = EnterContinuousPages(1900, 3);
    EXPECT_EQ((std::array{g.pageStep, g.lineEnd, g.pageWidth}), (std::array{1900, 5700, 5800}));
    EXPECT_EQ(EnterContinuousPages(1900, 25).pages, MaxContinuousPages);
    EXPECT_EQ(EnterContinuousPages(1900, 0).lineEnd, 1900);
}

struct KeyCase {
    int clef;
    KeyKind kind;
    std::string pitches;  // seven pitches "F5 C5 …" in writing order
};

class KeyPattern : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPattern, SevenAccidentalsAreWrittenAsEngraversPrintThem) {
    const KeyCase& c = GetParam();
    constexpr std::string_view names = "CDEFGAB";
    for (int i = 0; i < MaxKeyAccidentals; ++i) {
        const std::string p = c.pitches.substr(static_cast<std::size_t>(i) * 3, 2);
        const KeyAccidentalPitch expected{static_cast<int>(names.find(p[0])) + 1, p[1] - '0'};
        EXPECT_EQ(KeyAccidentalAt(c.kind, i, ClefValueOfClef(c.clef)), expected) << "accidental " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    KeySignatures, KeyPattern,
    ::testing::Values(
        KeyCase{1, KeyKind::Sharps, "F5 C5 G5 D5 A4 E5 B4"},  // treble
        KeyCase{1, KeyKind::Flats, "B4 E5 A4 D5 G4 C5 F4"},
        KeyCase{3, KeyKind::Sharps, "F3 C3 G3 D3 A2 E3 B2"},  // bass
        KeyCase{3, KeyKind::Flats, "B2 E3 A2 D3 G2 C3 F2"},
        KeyCase{7, KeyKind::Sharps, "F4 C4 G4 D4 A3 E4 B3"},  // alto
        KeyCase{7, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
        // The tenor sharps open above the staff, then zigzag down from the G.
        KeyCase{8, KeyKind::Sharps, "F4 C4 G3 D4 A3 E4 B3"}, KeyCase{8, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
        // The octave clef reads an octave lower: the same places as the treble clef.
        KeyCase{9, KeyKind::Sharps, "F4 C4 G4 D4 A3 E4 B3"}, KeyCase{9, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
        // Under the C clef on line 1 the E comes down to the staff's own E.
        KeyCase{5, KeyKind::Flats, "B4 E4 A4 D5 G4 C5 F4"},
        // The flats of the baritone F clef and the mezzo C clef turn upwards at their wrap.
        KeyCase{4, KeyKind::Flats, "B2 E3 A3 D3 G3 C3 F3"}, KeyCase{6, KeyKind::Flats, "B3 E4 A3 D4 G4 C4 F4"}));

TEST(KeySignatureLayout, EveryAccidentalStaysWithinASpaceOfTheStaffAndAdvancesItsWidthAndASmallGap) {
    for (int clef = 1; clef <= 11; ++clef) {
        const int value = ClefValueOfClef(clef);
        for (KeyKind kind : {KeyKind::Sharps, KeyKind::Flats}) {
            for (int i = 0; i < MaxKeyAccidentals; ++i) {
                const KeyAccidentalPitch p = KeyAccidentalAt(kind, i, value);
                // Half spaces above the bottom line, which lies 16 under the reference.
                const int h = PitchToOffset(p.step, p.octave, value, 1) + 16;
                EXPECT_TRUE(h >= -1 && h <= 9) << "clef " << clef << " kind " << int(kind) << " accidental " << i;
            }
        }
    }
    EXPECT_EQ((std::array{KeyAccidentalAt(KeyKind::None, 0, -2), KeyAccidentalAt(KeyKind::Sharps, 7, -2),
                          KeyAccidentalAt(KeyKind::Flats, -1, -2)}),
              (std::array<KeyAccidentalPitch, 3>{}));
    // Neighbours keep a gap of 0.15 spaces; without a drawing context the document's font measures the sharp.
    EXPECT_EQ(KeyAccidentalAdvance(20, 20), 23);
    EXPECT_EQ(KeyAccidentalAdvance(10, 10), 12);
    const int sharp = MusicFont::Installed(SmuflFamily::Bravura)->widthAt(211, 8 * 20);
    EXPECT_EQ(KeyAccidentalAdvanceOnFont("Orvelin 4.2", 10), KeyAccidentalAdvance(sharp, 20));
    EXPECT_TRUE(sharp > 10 && sharp < 30) << "a sharp is about a staff space wide";
}

TEST(Zoom, ConversionsTruncateTowardZeroAndTheDialogIsClamped) {
    EXPECT_EQ((std::array{ToDevice(160, {3, 4}), ToDevice(-7, {1, 2}), ToPage(10, {3, 4}), ToPage(-10, {3, 4}),
                          ToDevice(2970, {99, 1})}),
              (std::array{120, -3, 13, -13, 294030}));
    EXPECT_EQ(ZoomFromDialog(0, 150), (ZoomFraction{1, 99}));
    EXPECT_EQ(ZoomFromDialog(99, 1), (ZoomFraction{99, 1}));
}

TEST(ViewMapping, PixelsCountDownFromTheTopAndTheZoomScalesBackToThePageAndTheVisibleRegion) {
    const ViewMapping m{{100, 200}, 2.0, 300.0, {1, 1}};
    EXPECT_EQ(PagePointOfPixel(m, 0, 300), (Point{100, 200}));  // the client area's bottom-left corner
    EXPECT_EQ(PagePointOfPixel(m, 10, 0), (Point{120, 800}));
    EXPECT_EQ(PagePointOfPixel(m, 0.4, 299.6), (Point{101, 201}));  // the nearest logical unit
    EXPECT_EQ(PagePointOfPixel({{400, 0}, 1.0, 100.0, {2, 1}}, 100, 0), (Point{250, 50}));
    EXPECT_EQ(PagePointOfPixel({{0, 0}, 1.0, 100.0, {3, 4}}, 30, 70), (Point{40, 40}));
    const PageRegion r = VisibleRegion(200, 1000, 800, 600, {2, 1});  // the client area in page units
    EXPECT_EQ((std::array{r.x0, r.x1, r.y0, r.y1}), (std::array{100, 500, 500, 800}));
    EXPECT_EQ((std::array{r.containsX(99), r.containsX(100), r.containsX(500), r.containsX(501)}),
              (std::array{false, true, true, false}));
}

TEST(StepDrag, OneArrowStepAtATime) {
    struct Case {
        Point anchor, mouse;
        int stepX, stepY;
        bool noReport;
        int code, moved;
        Point after;
    };
    const Case cases[] = {
        {{0, 0}, {0, 25}, 10, 20, false, ArrowUp, 20, {0, 20}},
        {{0, 0}, {3, -20}, 10, 20, false, ArrowDown, -20, {0, -20}},  // exactly one step
        {{0, 0}, {5, 19}, 10, 20, false, 0, 0, {0, 0}},               // short of a step
        {{0, 0}, {-10, 0}, 10, 20, false, ArrowLeft, -10, {-10, 0}},
        {{0, 0}, {15, 15}, 10, 20, false, ArrowRight, 10, {10, 0}},  // vertical too short: horizontal
        {{0, 0}, {25, 25}, 10, 20, false, ArrowUp, 20, {0, 20}},
        {{0, 0}, {9, 2}, 10, 20, false, 0, 0, {0, 0}},
        {{5, 5}, {100, 200}, 0, 20, false, 0, 0, {100, 200}},  // no step: the anchor follows the mouse
        {{0, 0}, {0, 30}, 10, 20, true, ArrowUp, 0, {0, 20}},  // no report of the distance
        {{0, 0}, {0, 50}, 10, 0, false, 0, 0, {0, 0}},         // a zero step never repeats
        {{0, 0}, {40, 50}, 10, 0, false, ArrowRight, 10, {10, 0}}};
    for (const Case& c : cases) {
        const StepDragResult r = StepDrag(c.anchor, c.mouse, c.stepX, c.stepY, c.noReport);
        EXPECT_TRUE(r.code == c.code && r.moved == c.moved && r.anchor == c.after && r.warp == (c.code != 0))
            << c.mouse.x << "," << c.mouse.y << " by " << c.stepX << "/" << c.stepY;
    }
}

}  // namespace
}  // namespace notavera
