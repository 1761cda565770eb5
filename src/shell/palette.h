// The tool palette of the main window: its 23 buttons (cmd::FirstPaletteButton .. cmd::LastPaletteButton), where
// they sit along the top of the client area, and which picture each shows for the current state. The platform
// draws the pictures.
#pragma once

#include <array>
#include <optional>

#include "shell/command_ids.h"

namespace notavera {

inline constexpr int PaletteButtonCount = cmd::LastPaletteButton - cmd::FirstPaletteButton + 1;
static_assert(PaletteButtonCount == 23);
inline constexpr int PaletteHeight = 28;
inline constexpr int PaletteExtraHeight = 34;   // the child window at the left end of the row
inline constexpr unsigned NoPaletteDuration = 255;

// Button index i sends cmd::FirstPaletteButton + i.
int PaletteCommand(int index);
// The button index of a palette command; nothing for other commands.
std::optional<int> PaletteIndex(int command);
// 56 for the alternate-action button, 14 for the two placement buttons and note forms B and "clear", 28 for the
// others.
int PaletteButtonWidth(int index);

struct PaletteRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PaletteRect&, const PaletteRect&) = default;
};

// The buttons are laid right to left from the client area's right edge, index 0 rightmost. A hidden palette
// gives every button zero width.
std::array<PaletteRect, PaletteButtonCount> PaletteLayout(int clientWidth, bool visible = true);
// The x where the row begins on the left: the extra child window ends there.
int PaletteRowLeft(int clientWidth, bool visible = true);

// What a button depicts, in button order: cmd::ButtonUndo … cmd::ButtonReferenceValue.
enum class PaletteIcon {
    Undo, CancelUndo, AlternateAction, InsertionBox, RhythmicGroup, CueSize, TieForm, AttributeC, AttributeL,
    Staccato, MidiInput, Star, Slur, Beam, AttributeI, Plus, PagePrevious, PageNext, NoteFormA, NoteFormB,
    NoteFormClear, Duration, ReferenceValue,
};

// The state the pictures depend on.
struct PaletteInputs {
    int noteFormFlags = 0;        // bit 0 flag A, bit 1 flag B
    bool undoAvailable = false;
    bool cancelAvailable = false;
    int navigationState = 0;      // 1 or 2 light cmd::ButtonPlaceAbove or cmd::ButtonPlaceBelow
    bool alternateAction = false;
    unsigned referenceValue = 4;  // the reference value of time signatures, a duration code
    unsigned currentDuration = 4; // the insertion duration code
    unsigned paletteDuration = NoPaletteDuration;  // the duration last chosen from the "Val" menu, 255: none
};

// One button's picture: its icon, whether it is drawn held down, whether it shows its "on" form, and for the
// two duration buttons the note value drawn.
struct PaletteFace {
    PaletteIcon icon = PaletteIcon::Undo;
    bool pressed = false;
    bool lit = false;
    unsigned durationCode = 0;
    bool fromValMenu = false;  // Duration: shows the palette's own "Val" choice rather than the insertion value
    friend bool operator==(const PaletteFace&, const PaletteFace&) = default;
};

// `pressed` is whether the user holds the button down; nothing for an index outside 0..22.
std::optional<PaletteFace> PaletteButtonFace(int index, bool pressed, const PaletteInputs& inputs);

}  // namespace notavera
