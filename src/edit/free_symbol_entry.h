// Free accidentals and dots: signs placed at an x and at the height of a note key, apart from any note.
#pragma once

#include "score/score_document.h"

namespace notavera {

// The sign a free-symbol tool places: its type and the sub-value (an accidental) or dot kind it carries.
struct FreeSymbol {
    SignType type = SignType::FreeAccidental;
    unsigned accidental = 0;
    bool doubleDot = false;
};

// Places `symbol` at x on the current staff at the height of note key `index` 0..8 (its note name in the
// insertion octave, through the pitch rule). Returns the sign made; null when none was.
ElementRecord* PlaceFreeSymbol(ScoreDocument& doc, int x, int index, const FreeSymbol& symbol);

}  // namespace notavera
