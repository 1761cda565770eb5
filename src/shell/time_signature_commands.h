// Time signatures ("Mesure (Indication de)"): the "IndMesure" dialog with its controls and flag rules, and the
// time signature it inserts at the cursor or edits there.
#pragma once

#include "edit/time_signature_entry.h"
#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The model as it opens, with its reactions to the radio buttons and check boxes.
DialogModel MakeMeterDialog(const MeterChoice& shown);
// The choice an accepted model gives, numbers shown only when they make a time signature.
MeterChoice ReadMeterDialog(const DialogModel& model);

// Runs the dialog on the time signature at the cursor or for a new one. Cancel changes nothing.
void EditTimeSignature(EditorContext& ctx);

void RegisterTimeSignatureCommand(CommandRegistry& registry);

}  // namespace notavera
