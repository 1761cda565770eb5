// Key and bar context of accidentals, read from a staff's elements.
#include "score/accidental_context.h"

#include <algorithm>
#include <array>

#include "score/score_document.h"

namespace notavera {

namespace {

// The order in which a key adds sharps: F, C, G, D, A, E, B. Flats follow it backwards.
constexpr std::array<unsigned, 7> sharpOrder = {4, 1, 5, 2, 6, 3, 7};

KeyKind toKeyKind(unsigned v) {
    return v == 1 ? KeyKind::Sharps : v == 2 ? KeyKind::Flats : KeyKind::None;
}

KeyInEffect KeyOfChange(const ElementRecord& e) {
    const auto sign = e.signWord();
    return KeyInEffect{toKeyKind(sign.subValue()), std::min(sign.high7(), 7u), sign.flag16()};
}

KeyInEffect KeyOfStaff(const StaffRecord& staff) {
    return KeyInEffect{toKeyKind(static_cast<unsigned>(staff.key().keyKind())), staff.key().keyCount(), false};
}

// The accidental of the nearest earlier note of this name and octave in the bar of element `index`.
std::optional<Accidental> BarAccidental(const StaffRecord& staff, int index, unsigned step, unsigned octave) {
    for (int i = index - 1; i >= 0; --i) {
        const ElementRecord& e = staff.elements[i];
        if (DividesBars(e)) break;
        if (!e.isNote() || e.noteWord().step() != step || e.w0().octave() != octave) continue;
        if (e.noteWord().accidental() != Accidental::None) return e.noteWord().accidental();
    }
    return std::nullopt;
}

std::optional<Accidental> KeyAccidental(const KeyInEffect& key, unsigned step) {
    if (!StepInKey(key, step)) return std::nullopt;
    return key.kind == KeyKind::Sharps ? Accidental::Sharp : Accidental::Flat;
}

}  // namespace

KeyInEffect KeyInEffectAt(const StaffRecord& staff, int fromIndex, int x) {
    const int last = static_cast<int>(staff.elements.size()) - 1;
    int i = std::min(fromIndex, last);
    while (i >= 0 && staff.elements[i].x > x) --i;
    for (; i >= 0; --i) {
        const ElementRecord& e = staff.elements[i];
        if (!e.isSignOfType(SignType::KeyChange)) continue;
        if (e.x > x) break;
        return KeyOfChange(e);
    }
    return KeyOfStaff(staff);
}

void StartStaffInKey(StaffRecord& staff, const KeyInEffect& key) {
    staff.key().setKeyKind(key.cancelled ? KeyKind::None : key.kind);
    staff.key().setKeyCount(key.cancelled ? 0 : key.count);
}

unsigned KeyAt(ScoreDocument& doc, const StaffRecord& staff, int fromIndex, int x) {
    doc.insertion.key = KeyInEffectAt(staff, fromIndex, x);
    return doc.insertion.key.count;
}

unsigned KeyAtEnd(ScoreDocument& doc, const StaffRecord& staff, int x) {
    return KeyAt(doc, staff, static_cast<int>(staff.elements.size()) - 1, x);
}

bool StepInKey(const KeyInEffect& key, unsigned step) {
    if (key.cancelled || key.kind == KeyKind::None) return false;
    if (step == 0) step = 7;
    if (step == 8) step = 1;
    if (step == 9) step = 2;
    const unsigned count = std::min(key.count, 7u);
    for (unsigned k = 0; k < count; ++k) {
        const unsigned name = key.kind == KeyKind::Sharps ? sharpOrder[k] : sharpOrder[6 - k];
        if (name == step) return true;
    }
    return false;
}

bool DividesBars(const ElementRecord& e) {
    if (!e.isSignOfType(SignType::Bar) || e.w0().hidden()) return false;
    const int code = e.signWord().signedCode();
    return code == 0 || code > 64;
}

std::optional<Accidental> ContextAccidental(const StaffRecord& staff, int index, unsigned step, unsigned octave) {
    if (index < 0 || index >= static_cast<int>(staff.elements.size())) return std::nullopt;
    if (const auto inBar = BarAccidental(staff, index, step, octave)) return inBar;
    return KeyAccidental(KeyInEffectAt(staff, index, staff.elements[index].x), step);
}

}  // namespace notavera
