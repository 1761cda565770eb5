// The element dispatcher and the per-staff drawing state.
#include "render/draw_element.h"

#include "render/draw_notes.h"
#include "render/draw_signs.h"
#include "render/page_staves.h"

namespace notavera {

void BeginStaff(DrawingContext& dc, const StaffRecord& staff, int index) {
    const auto key = staff.key();
    const auto placed = static_cast<std::size_t>(index);
    dc.draw.isSmallStaff = index >= 0 && placed < dc.staves.size() ? dc.staves[placed].small : key.small();
    dc.draw.isCueSize = false;
    dc.draw.alternateGlyphs = key.oldNotation();
    dc.draw.staffColour = key.grey() ? GreyStaffColour : Colour{0};
    dc.draw.lineStyle = 0;
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
