// "Numéroter mesures (->marqueurPage/fin)" with its dialog "MesureNo", and "Effacer Nos de mesure
// (->marqueurPage/fin)": the measure numbers of the lines from the current page to the page marker or the end.
#pragma once

#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// "MesureNo": the measure-number offset in "Mesure initiale" (five characters, 0 for a negative number). Each
// change is kept at once, so that "Annuler" keeps what was typed.
DialogModel MakeMeasureNumberDialog(EditorContext& ctx);

// Writes the measure numbers (or, erasing, only removes them) on every line from the current page to the page
// marker, or to the last page without one; the cursor comes back to where it was and the page marker is used up.
void NumberMeasures(EditorContext& ctx, bool erase);

void RegisterMeasureNumberCommands(CommandRegistry& registry);

}  // namespace notavera
