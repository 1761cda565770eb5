// The palette: button widths and right-to-left placement, and the picture each button shows for a state.
#include "shell/palette.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

TEST(Palette, CommandsAndIndexes) {
    EXPECT_EQ(PaletteCommand(0), 20);
    EXPECT_EQ(PaletteCommand(22), 42);
    EXPECT_EQ(PaletteIndex(20), 0);
    EXPECT_EQ(PaletteIndex(42), 22);
    EXPECT_FALSE(PaletteIndex(19));
    EXPECT_FALSE(PaletteIndex(43));
}

TEST(Palette, ButtonsSitRightToLeftFromTheRightEdge) {
    const auto rects = PaletteLayout(1000);
    EXPECT_EQ(rects[0], (PaletteRect{972, 0, 28, 28}));
    EXPECT_EQ(rects[1], (PaletteRect{944, 0, 28, 28}));
    EXPECT_EQ(rects[2], (PaletteRect{888, 0, 56, 28}));
    int right = 1000;
    int total = 0;
    for (int index = 0; index < PaletteButtonCount; ++index) {
        const PaletteRect& r = rects[static_cast<std::size_t>(index)];
        EXPECT_EQ(r.x + r.width, right) << index;  // touching its right neighbour, no gap, no overlap
        EXPECT_EQ(r.height, PaletteHeight);
        const bool narrow = index == 16 || index == 17 || index == 19 || index == 20;
        EXPECT_EQ(r.width, index == 2 ? 56 : narrow ? 14 : 28) << index;
        right = r.x;
        total += r.width;
    }
    EXPECT_EQ(total, 616);
    EXPECT_EQ(PaletteRowLeft(1000), 1000 - 616);
}

// A window narrower than the row pushes the leftmost buttons off the client area; the layout stays exact.
TEST(Palette, NarrowWindowKeepsTheRightEdge) {
    const auto rects = PaletteLayout(300);
    EXPECT_EQ(rects[0].x, 272);
    EXPECT_EQ(PaletteRowLeft(300), 300 - 616);
}

TEST(Palette, HiddenPaletteHasZeroWidths) {
    for (const PaletteRect& r : PaletteLayout(800, false)) {
        EXPECT_EQ(r.width, 0);
        EXPECT_EQ(r.x, 800);
    }
    EXPECT_EQ(PaletteRowLeft(800, false), 800);
}

TEST(Palette, PlainButtonsShowOnlyWhetherTheyAreHeld) {
    PaletteInputs in;
    in.noteFormFlags = 3;
    in.undoAvailable = true;
    for (int command : {23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}) {
        const auto up = PaletteButtonFace(*PaletteIndex(command), false, in);
        const auto down = PaletteButtonFace(*PaletteIndex(command), true, in);
        ASSERT_TRUE(up && down);
        EXPECT_FALSE(up->pressed);
        EXPECT_TRUE(down->pressed);
        EXPECT_FALSE(up->lit) << command;
    }
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(32), false, in)->icon, PaletteIcon::Slur);
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(33), false, in)->icon, PaletteIcon::Beam);
    EXPECT_FALSE(PaletteButtonFace(23, false, in));
    EXPECT_FALSE(PaletteButtonFace(-1, false, in));
}

struct LitCase {
    int command;
    PaletteInputs inputs;
    bool lit;
};

class PaletteLitTest : public ::testing::TestWithParam<LitCase> {};

TEST_P(PaletteLitTest, ShowsItsOnFormFromTheState) {
    const LitCase& c = GetParam();
    const auto face = PaletteButtonFace(*PaletteIndex(c.command), false, c.inputs);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->lit, c.lit);
}

PaletteInputs With(void (*set)(PaletteInputs&)) {
    PaletteInputs in;
    set(in);
    return in;
}

INSTANTIATE_TEST_SUITE_P(
    States, PaletteLitTest,
    ::testing::Values(LitCase{20, {}, false}, LitCase{20, With([](PaletteInputs& i) { i.undoAvailable = true; }), true},
                      LitCase{21, With([](PaletteInputs& i) { i.undoAvailable = true; }), false},
                      LitCase{21, With([](PaletteInputs& i) { i.cancelAvailable = true; }), true},
                      LitCase{22, With([](PaletteInputs& i) { i.alternateAction = true; }), true},
                      LitCase{36, With([](PaletteInputs& i) { i.navigationState = 1; }), true},
                      LitCase{36, With([](PaletteInputs& i) { i.navigationState = 2; }), false},
                      LitCase{37, With([](PaletteInputs& i) { i.navigationState = 2; }), true},
                      LitCase{37, With([](PaletteInputs& i) { i.navigationState = 1; }), false},
                      LitCase{38, With([](PaletteInputs& i) { i.noteFormFlags = 1; }), true},
                      LitCase{38, With([](PaletteInputs& i) { i.noteFormFlags = 2; }), false},
                      LitCase{39, With([](PaletteInputs& i) { i.noteFormFlags = 2; }), true},
                      LitCase{39, With([](PaletteInputs& i) { i.noteFormFlags = 1; }), false},
                      LitCase{40, With([](PaletteInputs& i) { i.noteFormFlags = 2; }), true},
                      LitCase{40, With([](PaletteInputs& i) { i.noteFormFlags = 0; }), false}));

TEST(Palette, DurationButtonPrefersTheValChoice) {
    PaletteInputs in;
    in.currentDuration = 5;
    in.paletteDuration = 3;
    auto face = PaletteButtonFace(*PaletteIndex(41), false, in);
    EXPECT_EQ(face->icon, PaletteIcon::Duration);
    EXPECT_EQ(face->durationCode, 3u);
    EXPECT_TRUE(face->fromValMenu);
    in.paletteDuration = NoPaletteDuration;
    face = PaletteButtonFace(*PaletteIndex(41), false, in);
    EXPECT_EQ(face->durationCode, 5u);
    EXPECT_FALSE(face->fromValMenu);
    in.paletteDuration = 300;  // anything from 255 on means no choice
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(41), false, in)->durationCode, 5u);
}

TEST(Palette, ReferenceButtonShowsTheReferenceValue) {
    PaletteInputs in;
    in.referenceValue = 6;
    in.currentDuration = 2;
    const auto face = PaletteButtonFace(*PaletteIndex(42), true, in);
    EXPECT_EQ(face->icon, PaletteIcon::ReferenceValue);
    EXPECT_EQ(face->durationCode, 6u);
    EXPECT_TRUE(face->pressed);
}

}  // namespace
}  // namespace notavera
