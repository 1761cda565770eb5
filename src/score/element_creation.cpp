// Placement of new elements in a staff's order and the filling of their words from the insertion state.
#include "score/element_creation.h"

#include <algorithm>
#include <vector>

#include "score/accidental_context.h"
#include "score/clef_values.h"

namespace notavera {

namespace {

// word0 bits that creation fills itself and never takes from the insertion flags: kind, octave, hasBlob.
constexpr std::uint32_t word0OwnBits = 1u | (7u << 8) | (1u << 19);
// NoteWord bits that the insertion flags may carry: every bit that has no named field of its own.
constexpr std::uint32_t noteWordFlagBits = (1u << 5) | (1u << 8) | (0x1FFu << 13);
// word0 bits of a tie or slur: tied to the next note, curve starts, curve ends.
constexpr std::uint32_t curveWord0Bits = (1u << 1) | (1u << 2) | (1u << 3);
constexpr std::size_t curveBlobSize = 32;
constexpr unsigned noteWordChordBit = 18;

bool isParenthesis(const ElementRecord& e, unsigned side) {
    return e.isSignOfType(SignType::Parenthesis) && e.signWord().pair2() == side;
}
bool isOpeningParenthesis(const ElementRecord& e) { return isParenthesis(e, 1); }
bool isClosingParenthesis(const ElementRecord& e) { return isParenthesis(e, 2); }

bool isPitchedSign(SignType t) {
    return t == SignType::FreeAccidental || t == SignType::FreeDot || t == SignType::Parenthesis;
}
bool isCurveSign(SignType t) {
    return t == SignType::Curve || t == SignType::FreeTie || t == SignType::Hairpin || t == SignType::Bracket;
}
bool carriesBlob(SignType t) {
    return t == SignType::Text || t == SignType::Drawing || t == SignType::Picture || isCurveSign(t);
}
// Signs that always sit on their own staff, whatever staff the editor is working from.
bool staysOnOwnStaff(SignType t) {
    return t == SignType::Bar || t == SignType::Parenthesis || t == SignType::TimeSignature || t == SignType::Clef;
}
// Signs of which one at a given x is enough.
bool singleAtX(SignType t) { return t == SignType::Bar || t == SignType::TimeSignature || t == SignType::Clef; }

unsigned insertionOctave(const InsertionState& ins) { return std::min(ins.octave, 7u); }
// A new rest stands in the middle of the staff whatever the clef in force where it goes.
NotePitch RestPitchAt(const StaffRecord& staff, int x, std::optional<int> clefValue) {
    const RestPitch p = RestPitchUnderClef(clefValue ? *clefValue : ClefValueOnStaff(staff, x));
    return {p.step, p.octave};
}

unsigned clampProportion(unsigned v) { return std::clamp(v, 1u, 255u); }

// Without a current element the caller has not chosen a neighbour: the new element goes after every
// element that stands at or before its x.
int indexByX(const std::vector<ElementRecord>& els, int x) {
    const auto after =
        std::upper_bound(els.begin(), els.end(), x, [](int v, const ElementRecord& e) { return v < e.x; });
    return static_cast<int>(after - els.begin());
}

int placementIndex(const std::vector<ElementRecord>& els, int current, const ElementRecord& e) {
    const int count = static_cast<int>(els.size());
    if (count == 0) return 0;
    const int last = count - 1;
    if (current == last && e.x >= els[last].x) {
        // A note marked with the chord bit keeps the last place when another element comes at its x.
        const ElementRecord& l = els[last];
        const bool keepsLast = e.x == l.x && !l.isSign() && l.noteWord().bit(noteWordChordBit);
        if (!keepsLast) return count;
    }
    if (e.x <= els[0].x) return 0;
    if (current < 0 || current > last) return indexByX(els, e.x);
    int ref = current;
    // A closing parenthesis belongs to what it encloses: only an opening parenthesis is placed against it.
    if (isClosingParenthesis(els[ref]) && !isOpeningParenthesis(e)) ref = ref < last ? ref + 1 : std::max(ref - 1, 0);
    if (e.x > els[ref].x && !isOpeningParenthesis(els[ref])) return ref + 1;
    return ref;
}

std::optional<ElementRecord> buildSign(const ScoreDocument& doc, int x, int param, int code, SignType type,
                                       unsigned subValue, std::span<const std::uint8_t> blobPayload) {
    const InsertionState& ins = doc.insertion;
    ElementRecord e;
    e.x = x;
    e.param = param;
    // Ties and slurs join notes: a sign never carries the curve bits of the tie form.
    e.word0 = ins.word0Flags & ~(word0OwnBits | curveWord0Bits);
    e.w0().setKind(ElementKind::Sign);
    if (staysOnOwnStaff(type)) e.w0().setCrossStaff(0);
    e.w1().setNumerator(1);
    e.w1().setDenominator(1);

    auto sign = e.signWord();
    sign.setSignType(type);
    sign.setSubValue(subValue);
    sign.setHigh7(ins.signAttribute);
    if (isPitchedSign(type)) {
        if (code < 0) return std::nullopt;
        const auto pitch = ApplyPitchRule(static_cast<unsigned>(code), insertionOctave(ins));
        if (!pitch) return std::nullopt;
        sign.setCode(pitch->step);
        e.w0().setOctave(pitch->octave);
    } else {
        if (code < -128 || code > 255) return std::nullopt;
        sign.setCode(static_cast<std::uint8_t>(code));
    }
    if (type == SignType::KeyChange) sign.setHigh7(static_cast<unsigned>(code) & 0x7F);
    if (type == SignType::TimeSignature) {
        e.w1().setNumerator(std::min(ins.timeSigNum, 255u));
        e.w1().setDenominator(std::min(ins.timeSigDen, 255u));
    }
    if (carriesBlob(type)) {
        // Curve signs are read as 32 control-point bytes: a short payload is completed with zeros.
        std::vector<std::uint8_t> payload(blobPayload.begin(), blobPayload.end());
        if (isCurveSign(type) && payload.size() < curveBlobSize) payload.resize(curveBlobSize, 0);
        e.attachBlob(payload);
    }
    return e;
}

ElementRecord* placeSign(ScoreDocument& doc, ElementRecord e) {
    const SignType type = e.signWord().signType();
    const ElementRecord* current = doc.element();
    if (singleAtX(type) && current && current->x == e.x && current->isSignOfType(type)) return nullptr;
    const int index = PlaceNewElement(doc, std::move(e));
    if (index < 0) return nullptr;
    if (type == SignType::TimeSignature) {
        doc.insertion.timeSigNum = 1;
        doc.insertion.timeSigDen = 1;
    }
    return &doc.staff()->elements[index];
}

}  // namespace

std::optional<NotePitch> ApplyPitchRule(unsigned noteName, unsigned octave) {
    octave = std::min(octave, 7u);
    if (noteName >= 1 && noteName <= 7) return NotePitch{noteName, octave};
    if (noteName == 0) return NotePitch{7, octave > 0 ? octave - 1 : 0};
    if (noteName == 8 || noteName == 9) return NotePitch{noteName - 7, octave < 7 ? octave + 1 : 7};
    return std::nullopt;
}

int PlaceNewElement(ScoreDocument& doc, ElementRecord e) {
    StaffRecord* staff = doc.staff();
    if (!staff) return -1;
    const int index = placementIndex(staff->elements, doc.currentElement, e);
    staff->elements.insert(staff->elements.begin() + index, std::move(e));
    doc.currentElement = index;
    doc.markModified();
    return index;
}

ElementRecord* CreateNoteOrRest(ScoreDocument& doc, int x, bool rest, unsigned noteName,
                                std::optional<int> clefValue) {
    if (!doc.staff()) return nullptr;
    const InsertionState& ins = doc.insertion;
    const auto pitch = rest ? std::optional<NotePitch>(RestPitchAt(*doc.staff(), x, clefValue))
                            : ApplyPitchRule(noteName, insertionOctave(ins));
    if (!pitch) return nullptr;

    ElementRecord e;
    e.x = x;
    // A slur waiting for its first note lets a rest pass; a group starts on a rest as well.
    const std::uint32_t once = rest ? ins.word0Once & ~curveWord0Bits : ins.word0Once;
    const std::uint32_t flags = rest ? ins.word0Flags & ~curveWord0Bits : ins.word0Flags;
    e.word0 = (flags | once) & ~word0OwnBits;
    e.w0().setKind(ElementKind::NoteOrRest);
    e.w0().setOctave(pitch->octave);
    e.w1().setNumerator(clampProportion(ins.proportionNum));
    e.w1().setDenominator(clampProportion(ins.proportionDen));
    e.typeWord = ins.noteWordFlags & noteWordFlagBits;
    auto note = e.noteWord();
    note.setRest(rest);
    note.setDurationCode(ins.durationCode);
    note.setDots(std::min(ins.dots, 3u));
    note.setStep(pitch->step);
    note.setHeadShape(ins.headShape);
    note.setAccentType(ins.accentType);

    const int index = PlaceNewElement(doc, std::move(e));
    doc.insertion.word0Once &= ~once;
    ElementRecord& placed = doc.staff()->elements[index];
    if (rest) return &placed;
    Accidental accidental = ins.accidental;
    bool implied = false;
    if (!ins.accidentalForced) {
        const StaffRecord& staff = *doc.staff();
        if (const auto fromContext = ContextAccidental(staff, index, pitch->step, pitch->octave)) {
            accidental = *fromContext;
            implied = true;
        }
    }
    placed.noteWord().setAccidental(accidental);
    placed.noteWord().setHiddenAccidental(implied);
    return &placed;
}

ElementRecord* CreateSign(ScoreDocument& doc, int x, int param, int code, SignType type, unsigned subValue,
                          std::span<const std::uint8_t> blobPayload) {
    if (!doc.staff()) return nullptr;
    auto e = buildSign(doc, x, param, code, type, subValue, blobPayload);
    if (!e) return nullptr;
    return placeSign(doc, std::move(*e));
}

ElementRecord* CreateParenthesis(ScoreDocument& doc, int x, int code, bool opening) {
    if (!doc.staff()) return nullptr;
    auto e = buildSign(doc, x, 0, code, SignType::Parenthesis, 0, {});
    if (!e) return nullptr;
    e->signWord().setPair2(opening ? 1 : 2);
    return placeSign(doc, std::move(*e));
}

}  // namespace notavera
