// The characters whose dispatch belongs to the shell: durations, accidentals and dots (or symbol tools in the
// Z-symbol mode), the paired attribute switches, and the letters that stand for menu commands.
#pragma once

#include <optional>

#include "score/records.h"

namespace notavera {

struct EditorContext;

// After Enter, the next character ends the numeric value entry: a duration digit (0..9, s) becomes the reference
// value of time signatures instead of a duration. True when it was taken so.
bool TakeValueEntryDigit(EditorContext& ctx, char32_t character);

// True when the character was one of the shell's; the others go to the handlers of the editing code.
bool DispatchInsertionCharacter(EditorContext& ctx, char32_t character);

// The switch a paired character acts on and whether it turns it on; nothing for other characters.
struct SwitchChange {
    unsigned bit = 0;
    bool on = false;
};
bool PairedSwitch(char32_t character, SwitchChange& change);

// The accidental of the characters d b h D B U u (also the tools that place free accidentals); nothing for others.
std::optional<Accidental> AccidentalOfCharacter(char32_t character);

}  // namespace notavera
