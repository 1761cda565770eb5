// Time signatures written from a meter choice.
#include "edit/time_signature_entry.h"

#include <algorithm>

#include "edit/entry_place.h"
#include "score/element_creation.h"

namespace notavera {

namespace {

constexpr unsigned numbersShown = 1;
constexpr unsigned maxNumber = 31;

}  // namespace

ElementRecord* TimeSignatureAt(ScoreDocument& doc, int x) {
    ElementRecord* e = ElementAtX(doc, x);
    return e && e->isSignOfType(SignType::TimeSignature) ? e : nullptr;
}

void WriteTimeSignature(ElementRecord& e, const MeterChoice& c) {
    e.signWord().setCode(c.flags & 0xFF);
    if ((c.flags & numbersShown) == 0) return;
    e.w1().setNumerator(std::min(c.numerator, maxNumber));
    e.w1().setDenominator(std::min(c.denominator, maxNumber));
    e.signWord().setSubValue(c.style);
}

ElementRecord* InsertTimeSignature(ScoreDocument& doc, int x, const MeterChoice& choice) {
    doc.insertion.timeSigNum = choice.numerator;
    doc.insertion.timeSigDen = choice.denominator;
    ElementRecord* e = CreateSign(doc, x, 0, 0, SignType::TimeSignature, 0);
    if (e) WriteTimeSignature(*e, choice);
    return e;
}

}  // namespace notavera
