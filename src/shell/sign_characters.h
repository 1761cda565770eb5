// The note-entry characters that put signs and marks at the cursor: ( and ) the slur, G and g the rhythmic group
// (G asks its proportion in the "Fraction" dialog), E the special bar, z the Z-symbol mode and { the manipulable
// curve.
#pragma once

#include <string_view>

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The pending action of "Barre spéciale" once its dialog was accepted: the next double click places the bar there.
inline constexpr int specialBarMouseMode = 69;

inline constexpr std::string_view zSymbolPrompt = "Entrez Symbole ( d D b B h u U ( . : ) + Hauteur (F1...F9)";

// Note key `index` 0..8 in the Z-symbol mode (set by z after its prompt): the free accidental (d b h D B U u) or
// dots (. :) the current tool chose is placed at the cursor x at the height of that key, and the mode ends. Any
// other tool places nothing and only beeps: the free slur is drawn with the mouse.
void PlaceZSymbol(EditorContext& ctx, int index);

void RegisterSignCharacters(CommandRegistry& registry);

}  // namespace notavera
