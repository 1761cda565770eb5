// The "Attributs" dialog: the fields of the current element as numbers and check boxes, written back on OK.
// A note or rest shows its value, height, accidental, proportion, size, staccato, head and fine offset; a sign its
// code, parameter, height, fine offset and, on a time signature or clef, its reference value.
#pragma once

#include "platform/dialog_model.h"
#include "score/records.h"

namespace notavera {

struct EditorContext;

// The dialog as it opens on element e.
DialogModel MakeAttributesDialog(const ElementRecord& e);
// The dialog's values written into e; every bit the dialog does not show stays as it was.
void ApplyAttributesDialog(const DialogModel& dialog, ElementRecord& e);

// Opens the dialog on the current element (a beep without one); on OK the element changes and the page is drawn
// again.
void RunAttributesDialog(EditorContext& ctx);

}  // namespace notavera
