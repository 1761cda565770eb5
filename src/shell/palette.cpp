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

int PaletteCommand(int index) { return cmd::FirstPaletteButton + index; }

std::optional<int> PaletteIndex(int command) {
    const int index = command - cmd::FirstPaletteButton;
    if (!ValidIndex(index)) return std::nullopt;
    return index;
}

int PaletteButtonWidth(int index) {
    switch (PaletteCommand(index)) {
    case cmd::ButtonAlternateAction: return 56;
    case cmd::ButtonPlaceAbove:
    case cmd::ButtonPlaceBelow:
    case cmd::ButtonNoteFormB:
    case cmd::ButtonNoteFormClear: return 14;
    default: return 28;
    }
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
    case cmd::ButtonUndo: return LitFace(icon, pressed, in.undoAvailable);
    case cmd::ButtonCancelUndo: return LitFace(icon, pressed, in.cancelAvailable);
    case cmd::ButtonAlternateAction: return LitFace(icon, pressed, in.alternateAction);
    case cmd::ButtonPlaceAbove: return LitFace(icon, pressed, in.navigationState == 1);
    case cmd::ButtonPlaceBelow: return LitFace(icon, pressed, in.navigationState == 2);
    case cmd::ButtonNoteFormA: return LitFace(icon, pressed, flagA);
    case cmd::ButtonNoteFormB:
    case cmd::ButtonNoteFormClear: return LitFace(icon, pressed, flagB);
    case cmd::ButtonValue: return DurationFace(pressed, in);
    case cmd::ButtonReferenceValue: return PaletteFace{icon, pressed, false, in.referenceValue, false};
    default: return PlainFace(icon, pressed);
    }
}

}  // namespace notavera
