// The room a sign leaves before the next element when lines are respaced.
#include "render/spacing_sign_gap.h"

#include "score/records.h"

namespace notavera {

namespace {

// Texts of this category stand in the music (between notes); all others are placed against it.
constexpr unsigned textInMusicCategory = 1;

int BarGap(const ElementRecord& e, const SpacingSettings& s) {
    return s.afterBar * s.stepUnit + (IsRepeatBar(e) ? 3 * s.stepUnit : 0);
}

int TimeSignatureGap(const StaffRecord& staff, int index, const SpacingSettings& s) {
    const ElementRecord& e = staff.elements[index];
    if (e.w0().hidden()) return 0;
    // Without a measurer only the drawer's own margin after the numerals is known.
    const int width = s.timeSignatureEnd ? s.timeSignatureEnd(staff, index) - e.x : 6 * s.stepUnit;
    return width + s.afterMeter * s.stepUnit;
}

int ClefGap(const SpacingSettings& s, const SignGapContext& c) {
    int gap = s.afterClef * s.stepUnit;
    if (c.atLineStart && c.staffKey.kind != KeyKind::None)
        gap += s.accidentalWidth * (c.staffKey.count + 1) * 3 / 4;  // room for the key signature drawn after it
    return gap;
}

int KeyChangeGap(const ElementRecord& e, const SpacingSettings& s, KeyState& key) {
    const auto sw = e.signWord();
    const KeyState next{static_cast<KeyKind>(sw.subValue() & 3u), static_cast<int>(sw.high7() & 7u)};
    int shown = next.count;
    if (sw.flag16()) {
        // The change is itself the cancellation of that key: it shows its naturals only.
        key = KeyState{};
    } else {
        const bool keepsOld = key.kind == next.kind && next.count > key.count;
        if (key.kind != KeyKind::None && !keepsOld) shown += key.count;
        key = next;
    }
    return shown * s.accidentalWidth + 6 * s.stepUnit;
}

}  // namespace

bool TakesNoRoom(const ElementRecord& e) {
    if (!e.isSign()) return false;
    switch (e.signWord().signType()) {
        case SignType::Parenthesis:
        case SignType::Curve:
        case SignType::FreeTie:
        case SignType::Hairpin:
        case SignType::Bracket: return true;
        case SignType::Text: return e.signWord().textCategory() != textInMusicCategory;
        default: return false;
    }
}

bool IsRepeatBar(const ElementRecord& e) {
    if (!e.isSignOfType(SignType::Bar)) return false;
    const unsigned code = e.signWord().code();
    return code == 'R' || code == 'O' || code == 'F';
}

int SignGap(const StaffRecord& staff, int index, const SpacingSettings& settings, const SignGapContext& context,
            KeyState& key) {
    const ElementRecord& e = staff.elements[index];
    const bool unshifted = e.shift == 0;
    switch (e.signWord().signType()) {
        case SignType::Bar: return BarGap(e, settings);
        case SignType::FreeAccidental:
            return unshifted && !e.w0().cueSize() && context.nextExists ? settings.accidentalWidth : 0;
        case SignType::TimeSignature: return TimeSignatureGap(staff, index, settings);
        case SignType::Clef: return ClefGap(settings, context);
        case SignType::Drawing:
        case SignType::Picture: return unshifted ? context.oldDistance : 0;
        case SignType::KeyChange: return KeyChangeGap(e, settings, key);
        default: return context.pendingGap;  // texts, free dots and signs that take no room leave the gap as it is
    }
}

}  // namespace notavera
