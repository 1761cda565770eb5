// Time signatures (command 230): the "IndMesure" dialog with its controls and flag rules, and the time signature
// it inserts at the cursor or edits there.
#pragma once

#include <optional>

#include "platform/dialog_model.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// What the dialog gives: the flag byte (1 numbers shown, 2 prolation dot, 4 vertical bar, 8/16/32 the
// mensural signs, 64 a C-type symbol), the symbol style and the numbers.
struct MeterChoice {
    unsigned flags = 1;
    unsigned style = 0;
    unsigned numerator = 0;
    unsigned denominator = 0;
};

// The model as it opens, with its reactions to the radio buttons and check boxes.
DialogModel MakeMeterDialog(const MeterChoice& shown);
// The choice an accepted model gives, numbers shown only when they make a time signature.
MeterChoice ReadMeterDialog(const DialogModel& model);

// Runs the dialog on the time signature at the cursor or for a new one. Cancel changes nothing.
void EditTimeSignature(EditorContext& ctx);

void RegisterTimeSignatureCommand(CommandRegistry& registry);

}  // namespace notavera
