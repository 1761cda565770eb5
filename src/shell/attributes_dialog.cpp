// The "Attributs" dialog model and what its OK writes.
#include "shell/attributes_dialog.h"

#include "shell/editor_context.h"

namespace notavera {

namespace {

namespace field {
constexpr const char* duration = "Valeur";
constexpr const char* dots = "Points";
constexpr const char* step = "Note";
constexpr const char* octave = "Octave";
constexpr const char* accidental = "Altération";
constexpr const char* hiddenAccidental = "Altération cachée";
constexpr const char* num = "Numérateur";
constexpr const char* den = "Dénominateur";
constexpr const char* cue = "Taille ornement";
constexpr const char* hidden = "Caché";
constexpr const char* hiddenDots = "Points cachés";
constexpr const char* staccato = "Staccato";
constexpr const char* head = "Tête";
constexpr const char* accent = "Accent";
constexpr const char* shift = "Décalage";
constexpr const char* code = "Code";
constexpr const char* param = "Paramètre";
constexpr const char* reference = "Etalon";
}  // namespace field

constexpr int maxDurationCode = 10;

// Time signatures and clefs carry the reference value the spacing of the music after them counts from.
bool CarriesReferenceValue(const ElementRecord& e) {
    return e.isSignOfType(SignType::TimeSignature) || e.isSignOfType(SignType::Clef);
}
constexpr int maxTerm = 99;

}  // namespace

DialogModel MakeAttributesDialog(const ElementRecord& e) {
    DialogModel d("Attributs", "Attributs");
    const auto w0 = e.w0();
    if (e.isSign()) {
        const auto sign = e.signWord();
        d.addInteger(0, field::code, 0, 255, static_cast<int>(sign.code()), 3);
        d.addInteger(0, field::param, -32768, 32767, e.param, 6);
        d.addInteger(0, field::octave, 0, 7, static_cast<int>(w0.octave()), 1);
        if (CarriesReferenceValue(e))
            d.addInteger(0, field::reference, 0, 31, static_cast<int>(e.w1().smallField()), 2);
    } else {
        const auto note = e.noteWord();
        // A multi-bar rest keeps its own code, which the list of values does not hold.
        if (note.durationCode() <= maxDurationCode)
            d.addInteger(0, field::duration, 0, maxDurationCode, static_cast<int>(note.durationCode()), 2);
        d.addInteger(0, field::dots, 0, 3, static_cast<int>(note.dots()), 1);
        d.addInteger(0, field::step, 1, 7, static_cast<int>(note.step()), 1);
        d.addInteger(0, field::octave, 0, 7, static_cast<int>(w0.octave()), 1);
        if (!note.rest()) {
            d.addInteger(0, field::accidental, 0, 7, static_cast<int>(note.accidental()), 1);
            d.addCheck(0, field::hiddenAccidental, note.hiddenAccidental());
            d.addCheck(0, field::staccato, note.staccato());
            d.addInteger(0, field::head, 0, 7, static_cast<int>(note.headShape()), 1);
            d.addInteger(0, field::accent, 0, 7, static_cast<int>(note.accentType()), 1);
        }
        d.addInteger(0, field::num, 1, maxTerm, static_cast<int>(e.w1().numerator()), 2);
        d.addInteger(0, field::den, 1, maxTerm, static_cast<int>(e.w1().denominator()), 2);
        d.addCheck(0, field::cue, w0.cueSize());
        d.addCheck(0, field::hiddenDots, w0.hiddenDots());
    }
    d.addCheck(0, field::hidden, w0.hidden());
    d.addInteger(0, field::shift, -128, 127, e.shift, 4);
    return d;
}

void ApplyAttributesDialog(const DialogModel& d, ElementRecord& e) {
    const auto w0 = e.w0();
    const auto number = [&d](const char* key) { return static_cast<unsigned>(d.value(key)); };
    w0.setOctave(number(field::octave));
    w0.setHidden(d.checked(field::hidden));
    e.shift = static_cast<std::int8_t>(d.value(field::shift));
    if (e.isSign()) {
        e.signWord().setCode(number(field::code));
        e.param = d.value(field::param);
        if (CarriesReferenceValue(e)) e.w1().setSmallField(number(field::reference));
        return;
    }
    const auto note = e.noteWord();
    if (d.find(field::duration) != nullptr) note.setDurationCode(number(field::duration));
    note.setDots(number(field::dots));
    note.setStep(number(field::step));
    if (!note.rest()) {
        note.setAccidental(static_cast<Accidental>(number(field::accidental)));
        note.setHiddenAccidental(d.checked(field::hiddenAccidental));
        note.setStaccato(d.checked(field::staccato));
        note.setHeadShape(number(field::head));
        note.setAccentType(number(field::accent));
    }
    e.w1().setNumerator(number(field::num));
    e.w1().setDenominator(number(field::den));
    w0.setCueSize(d.checked(field::cue));
    w0.setHiddenDots(d.checked(field::hiddenDots));
}

void RunAttributesDialog(EditorContext& ctx) {
    ElementRecord* e = ctx.doc.element();
    if (e == nullptr) {
        ctx.ui.beep();
        return;
    }
    DialogModel dialog = MakeAttributesDialog(*e);
    if (!ctx.ui.runDialog(dialog)) return;
    const ElementRecord before = *e;
    ApplyAttributesDialog(dialog, *e);
    if (*e == before) return;
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

}  // namespace notavera
