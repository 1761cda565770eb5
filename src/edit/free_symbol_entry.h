// The Z-symbol mode of the character z: after its prompt, a symbol character chooses a free accidental, free dots
// or the free slur, and a note key F1..F9 places the chosen free accidental or dots at that key's height.
#pragma once

#include <string_view>

namespace notavera {

class CommandRegistry;
struct EditorContext;

inline constexpr std::string_view zSymbolPrompt = "Entrez Symbole ( d D b B h u U ( . : ) + Hauteur (F1...F9)";

// Shows the "ZSymbole" prompt; on OK the Z-symbol mode is on.
void StartZSymbolMode(EditorContext& ctx);

// Note key `index` 0..8 in the Z-symbol mode: the chosen free accidental (d b h D B U u) or dots (. :) is placed
// at the cursor x at the height of that key (its note name in the insertion octave, through the pitch rule), and
// the mode ends. Any other tool places nothing and only beeps: the free slur is drawn with the mouse.
void PlaceZSymbol(EditorContext& ctx, int index);

void RegisterZSymbolCharacter(CommandRegistry& registry);

}  // namespace notavera
