// Palette geometry and the choice of each button's picture.
#include "shell/palette.h"

namespace notavera {
namespace {

// The icons are listed in button order, so a button's index names its icon.
static_assert(static_cast<int>(PaletteIcon::ReferenceValue) == PaletteButtonCount - 1);

bool ValidIndex(int index) { return index >= 0 && index < PaletteButtonCount; }

// The face of a button that only shows whether it is held down.
PaletteFace PlainFace(PaletteIcon icon, bool pressed) { return PaletteFace{icon, pressed, false, 0, false}; }

PaletteFace LitFace(PaletteIcon icon, bool pressed, bool lit) { return PaletteFace{icon, pressed, lit, 0, false}; }

PaletteFace DurationFace(bool pressed, const PaletteInputs& in) {
    if (in.paletteDuration < NoPaletteDuration) {
        return PaletteFace{PaletteIcon::Duration, pressed, false, in.paletteDuration, true};
    }
    return PaletteFace{PaletteIcon::Duration, pressed, false, in.currentDuration, false};
}

}  // namespace

int PaletteCommand(int index) { return PaletteFirstCommand + index; }

std::optional<int> PaletteIndex(int command) {
    const int index = command - PaletteFirstCommand;
    if (!ValidIndex(index)) return std::nullopt;
    return index;
}

int PaletteButtonWidth(int index) {
    if (index == 2) return 56;
    if (index == 16 || index == 17 || index == 19 || index == 20) return 14;
    return 28;
}

std::array<PaletteRect, PaletteButtonCount> PaletteLayout(int clientWidth, bool visible) {
    std::array<PaletteRect, PaletteButtonCount> rects{};
    int right = clientWidth;
    for (int index = 0; index < PaletteButtonCount; ++index) {
        const int width = visible ? PaletteButtonWidth(index) : 0;
        right -= width;
        rects[static_cast<std::size_t>(index)] = PaletteRect{right, 0, width, PaletteHeight};
    }
    return rects;
}

int PaletteRowLeft(int clientWidth, bool visible) { return PaletteLayout(clientWidth, visible).back().x; }

std::optional<PaletteFace> PaletteButtonFace(int index, bool pressed, const PaletteInputs& in) {
    if (!ValidIndex(index)) return std::nullopt;
    const bool flagA = (in.noteFormFlags & 1) != 0;
    const bool flagB = (in.noteFormFlags & 2) != 0;
    const auto icon = static_cast<PaletteIcon>(index);
    switch (PaletteCommand(index)) {
    case 20: return LitFace(icon, pressed, in.undoAvailable);
    case 21: return LitFace(icon, pressed, in.cancelAvailable);
    case 22: return LitFace(icon, pressed, in.alternateAction);
    case 36: return LitFace(icon, pressed, in.navigationState == 1);
    case 37: return LitFace(icon, pressed, in.navigationState == 2);
    case 38: return LitFace(icon, pressed, flagA);
    case 39:
    case 40: return LitFace(icon, pressed, flagB);
    case 41: return DurationFace(pressed, in);
    case 42: return PaletteFace{icon, pressed, false, in.referenceValue, false};
    default: return PlainFace(icon, pressed);
    }
}

}  // namespace notavera
