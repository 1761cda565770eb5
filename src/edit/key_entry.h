// Key signatures from the "Armure" menu: the dialog, the staff's own key written at the start of its line, key
// changes within the line, and "Effacer Armure".
#pragma once

#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// "Armure" as it opens with the last answer: "Nombre" (0–7) and the radio buttons "Dièse" and "Bémol" (kind 1
// or 2; 0 leaves both released).
DialogModel MakeKeyDialog(int number, int kind);

// Writes the key of the insertion state (`doc.insertion.key`) at x on the current staff, or erases the key
// there. Near the line start it is the staff's own key, handed down to the other staves when the staff heads a
// block; further right it is a key change, rewritten when one stands at the cursor. Returns the x after the key
// (x itself after an erasure or without a current staff).
int PlaceKey(EditorContext& ctx, bool erase, int x);

// 125 "Armure" and 128 "Effacer Armure".
void RegisterKeyCommands(CommandRegistry& registry);

}  // namespace notavera
