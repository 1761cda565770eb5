// Time signatures: the choice the "IndMesure" dialog gives, written into a new time signature or one standing at
// the cursor.
#pragma once

#include "score/score_document.h"

namespace notavera {

// A time signature's form: the flag byte (1 numbers shown, 2 prolation dot, 4 vertical bar, 8/16/32 the
// mensural signs, 64 a C-type symbol), the symbol style and the numbers.
struct MeterChoice {
    unsigned flags = 1;
    unsigned style = 0;
    unsigned numerator = 0;
    unsigned denominator = 0;
};

// The time signature that is the current element at x; null when there is none.
ElementRecord* TimeSignatureAt(ScoreDocument& doc, int x);

// Rewrites time signature `e` with the choice.
void WriteTimeSignature(ElementRecord& e, const MeterChoice& choice);

// A new time signature of the choice at x on the current staff; its numbers become the insertion state's. Returns
// the new sign, the current element; null when none was made.
ElementRecord* InsertTimeSignature(ScoreDocument& doc, int x, const MeterChoice& choice);

}  // namespace notavera
