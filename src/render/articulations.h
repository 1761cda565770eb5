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
// side opposite the stem, kinds 4, 6 and 7 at the stem's end; the other-side flag exchanges the two. No mark's ink
// comes closer than a quarter space to the stem's tip, the head or a staff line: a mark that reaches that near the
// staff is centred in a space (the next one outwards when it falls on a line) when it fits one with that room to
// spare, and otherwise stands outside the staff.
std::optional<ArticulationMark> PlaceArticulation(const DrawingContext& dc, const StaffPlace& place,
                                                  const ElementRecord& e, int value, const NoteHead& head, int headY,
                                                  const Stem& stem);

}  // namespace notavera
