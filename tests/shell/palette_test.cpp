// The palette: buttons placed right to left from the window's right edge, and the picture each button shows for
// a state.
#include "shell/palette.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

TEST(Palette, ButtonsSitRightToLeftTouchingFromTheRightEdge) {
    EXPECT_EQ(PaletteCommand(0), 20);
    EXPECT_EQ(PaletteIndex(42), 22);
    EXPECT_FALSE(PaletteIndex(19));
    EXPECT_FALSE(PaletteIndex(43));
    for (const int clientWidth : {1000, 300}) {  // a narrow window pushes the leftmost buttons off its area
        const auto rects = PaletteLayout(clientWidth);
        int right = clientWidth;
        for (int index = 0; index < PaletteButtonCount; ++index) {
            const PaletteRect& r = rects[static_cast<std::size_t>(index)];
            EXPECT_EQ(r.x + r.width, right) << index;
            EXPECT_EQ(r.width, PaletteButtonWidth(index));
            EXPECT_EQ(r.height, PaletteHeight);
            right = r.x;
        }
        EXPECT_EQ(right, clientWidth - 616);
        EXPECT_EQ(PaletteRowLeft(clientWidth), clientWidth - 616);
    }
    EXPECT_EQ(PaletteLayout(1000)[2], (PaletteRect{888, 0, 56, 28}));
    EXPECT_EQ(PaletteButtonWidth(16), 14);
    for (const PaletteRect& r : PaletteLayout(800, false)) EXPECT_EQ(std::pair(r.x, r.width), std::pair(800, 0));
    EXPECT_EQ(PaletteRowLeft(800, false), 800);
}

TEST(Palette, EachButtonLightsFromItsOwnState) {
    const struct {
        int command;
        PaletteInputs on, off;
    } cases[] = {
        {20, {.undoAvailable = true}, {.cancelAvailable = true}},
        {21, {.cancelAvailable = true}, {.undoAvailable = true}},
        {22, {.alternateAction = true}, {}},
        {36, {.navigationState = 1}, {.navigationState = 2}},
        {37, {.navigationState = 2}, {.navigationState = 1}},
        {38, {.noteFormFlags = 1}, {.noteFormFlags = 2}},
        {39, {.noteFormFlags = 2}, {.noteFormFlags = 1}},
        {40, {.noteFormFlags = 2}, {.noteFormFlags = 0}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(PaletteButtonFace(*PaletteIndex(c.command), false, c.on)->lit) << c.command;
        EXPECT_FALSE(PaletteButtonFace(*PaletteIndex(c.command), false, c.off)->lit) << c.command;
    }
    const PaletteInputs all{.noteFormFlags = 3, .undoAvailable = true};
    for (int command = 23; command <= 35; ++command) {  // plain buttons show only whether they are held
        EXPECT_FALSE(PaletteButtonFace(*PaletteIndex(command), false, all)->pressed);
        EXPECT_TRUE(PaletteButtonFace(*PaletteIndex(command), true, all)->pressed);
        EXPECT_FALSE(PaletteButtonFace(*PaletteIndex(command), false, all)->lit) << command;
    }
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(32), false, all)->icon, PaletteIcon::Slur);
    EXPECT_FALSE(PaletteButtonFace(23, false, all));
    EXPECT_FALSE(PaletteButtonFace(-1, false, all));
}

TEST(Palette, TheDurationButtonsShowTheValChoiceOrTheInsertionValueAndTheReferenceValue) {
    PaletteInputs in{.referenceValue = 6, .currentDuration = 5, .paletteDuration = 3};
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(41), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 3, true}));
    in.paletteDuration = 300;  // anything from 255 on means no choice
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(41), false, in),
              (PaletteFace{PaletteIcon::Duration, false, false, 5, false}));
    EXPECT_EQ(PaletteButtonFace(*PaletteIndex(42), true, in),
              (PaletteFace{PaletteIcon::ReferenceValue, true, false, 6, false}));
}

}  // namespace
}  // namespace notavera
