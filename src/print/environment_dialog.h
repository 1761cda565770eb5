// The "Environnement" dialog: general corrections, spacing, stroke widths and MIDI input preferences.
#pragma once

#include "platform/dialog_model.h"

namespace notavera {

class ScoreDocument;
struct EditorContext;
struct SystemSettings;

// The dialog filled from the document and the editor's settings. "Notation Ancienne" is written into the current
// staff as soon as it is toggled, so the model keeps a reference to the document while it is shown.
DialogModel makeEnvironmentDialog(ScoreDocument& doc, const SystemSettings& settings);
// OK: writes every value back, converts the distances to page units and marks the document modified.
void acceptEnvironmentDialog(const DialogModel& model, ScoreDocument& doc, SystemSettings& settings);

// Shows the dialog and applies it on OK: 1 on OK, 0 on "Annuler".
int RunEnvironmentDialog(EditorContext& ctx);

}  // namespace notavera
