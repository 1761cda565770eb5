// The articulation of a note ("Accents (Commande Staccato)"): which mark, on which side, and at what height.
#pragma once

#include <optional>

#include "render/note_geometry.h"

namespace notavera {

struct ArticulationMark {
    int code = 0;
    int x = 0;  // the left edge of a black notehead centred where the mark is
    int y = 0;  // the mark's centre
};

// The articulation of note e (drawn value `value`, head at headY, nominal stem `stem`), when it has one: the
// articulation flag set, a kind 1–7 and a value shorter than a breve. Kinds 1, 2, 3 and 5 go at the head on the
// side opposite the stem, kinds 4, 6 and 7 at the stem's end; the other-side flag exchanges the two. The marks of kinds
// 1, 2, 3 and 5 that fall inside the staff (or close enough to touch its outer lines) are centred in a space, the
// next one outwards when they fall on a line.
std::optional<ArticulationMark> PlaceArticulation(const DrawingContext& dc, const StaffPlace& place,
                                                  const ElementRecord& e, int value, const NoteHead& head, int headY,
                                                  const Stem& stem);

}  // namespace notavera
