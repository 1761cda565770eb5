// Chooses between the rest, single-note and chord drawers for one element.
#include "render/draw_notes.h"

#include "render/beams.h"
#include "render/chords.h"
#include "render/rest_drawer.h"
#include "render/ties.h"
#include "render/tuplet_marks.h"

namespace notavera {
namespace {

// A chord is drawn once, when the pass reaches the last of its members it draws.
bool LaterMemberDraws(const DrawingContext& dc, const StaffRecord& staff, int index) {
    for (int j = index; RunContinuesAfter(staff, j); ++j) {
        if (IsDrawn(dc, staff.elements[static_cast<std::size_t>(j) + 1])) return true;
    }
    return false;
}

}  // namespace

void DrawNoteOrRest(DrawingContext& dc, const StaffRecord& staff, int elementIndex) {
    if (elementIndex < 0 || elementIndex >= static_cast<int>(staff.elements.size())) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(elementIndex)];
    if (e.isSign() || !IsDrawn(dc, e)) return;
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place) return;

    if (IsChordMember(e)) {
        if (LaterMemberDraws(dc, staff, elementIndex)) return;
        if (const auto chord = LayOutChord(dc, staff, FindChordRun(staff, elementIndex))) DrawChord(dc, staff, *chord);
    } else {
        const ElementSizeScope scope(dc, *place, e.w0().cueSize());
        if (e.isRest()) DrawRest(dc, *place, e);
        else DrawSingleNote(dc, *place, e, BeamGroupStemUpAt(dc, staff, elementIndex));
    }
    DrawBeamGroupEndingAt(dc, staff, elementIndex);
    DrawTupletMarkEndingAt(dc, staff, elementIndex);
    DrawNoteCurves(dc, staff, elementIndex);
}

}  // namespace notavera
