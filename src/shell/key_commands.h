// Key signatures from the "Armure" menu: the dialog, "Armure" and "Effacer Armure" at the cursor; the accidental
// commands of the menu register with them.
#pragma once

#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;

// "Armure" as it opens with the last answer: "Nombre" (0–7) and the radio buttons "Dièse" and "Bémol" (kind 1
// or 2; 0 leaves both released).
DialogModel MakeKeyDialog(int number, int kind);

void RegisterKeyCommands(CommandRegistry& registry);

}  // namespace notavera
