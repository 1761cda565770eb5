// Drawing notes and rests.
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Note or rest `index` of the staff.
void DrawNoteOrRest(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
