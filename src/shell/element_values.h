// The information box that shows the spacing values carried by a time signature or a clef.
#pragma once

#include "platform/ui_services.h"
#include "score/records.h"

namespace notavera {

// For a time signature or a clef: its reference value, variable step, polyphony and aesthetic
// corrections, caption "Message", information icon. Any other element shows nothing.
void ShowElementValues(UiServices& ui, const ElementRecord& element);

}  // namespace notavera
