// The element dispatcher and the per-staff drawing state.
#include "render/draw_element.h"

#include "render/draw_notes.h"
#include "render/draw_signs.h"

namespace notavera {

void BeginStaff(DrawingContext& dc, const StaffRecord& staff) {
    const auto key = staff.key();
    const auto index = static_cast<std::size_t>(key.index());
    dc.draw.isSmallStaff = index < dc.staves.size() ? dc.staves[index].small : key.small();
    dc.draw.alternateGlyphs = key.oldNotation();
    dc.draw.staffColour = key.grey() ? RgbColour(128, 128, 128) : RgbColour(0, 0, 0);
    if (!dc.erasing) dc.draw.drawColour = dc.draw.staffColour;
}

void DrawElement(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const bool cue = dc.draw.isCueSize;
    dc.draw.isCueSize = e.w0().cueSize();
    if (e.isSign())
        DrawSign(dc, staff, index);
    else if (!e.w0().hidden() || dc.draw.showHidden)
        DrawNoteOrRest(dc, staff, index);
    dc.draw.isCueSize = cue;
}

}  // namespace notavera
