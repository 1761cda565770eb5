// Key signatures: the staff's key at the start of its line and the key changes within it, with the naturals that
// cancel what a change takes away.
#include <algorithm>
#include <cmath>

#include "render/draw_signs.h"
#include "render/geometry.h"
#include "render/key_signature_layout.h"
#include "render/primitives.h"
#include "render/staff_frame.h"

namespace notavera {
namespace {

constexpr int NaturalCode = 212;

struct Key {
    KeyKind kind = KeyKind::None;
    int count = 0;
};

Key KeyOfChange(const ElementRecord& e) {
    const auto sign = e.signWord();
    const unsigned kind = sign.subValue();
    if (kind != 1 && kind != 2) return {};
    return {static_cast<KeyKind>(kind), std::min(static_cast<int>(sign.high7()), MaxKeyAccidentals)};
}

Key KeyOfStaff(const StaffRecord& staff) {
    const KeyKind kind = staff.key().keyKind();
    if (kind != KeyKind::Sharps && kind != KeyKind::Flats) return {};
    return {kind, static_cast<int>(staff.key().keyCount())};
}

// The key in force just before element `index`: the last key change before it, or the staff's own key. After a
// cancelling change no key is in force.
Key KeyBefore(const StaffRecord& staff, int index) {
    for (int i = index - 1; i >= 0; --i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isSignOfType(SignType::KeyChange)) continue;
        if (e.signWord().flag16()) return {};
        return KeyOfChange(e);
    }
    return KeyOfStaff(staff);
}

// Writes the accidentals at places [from, to) of a key of `kind` from x, with glyph `code` (the key's own, or the
// natural that cancels it). Each place takes its height from the clef in force at its own x. Returns the x after.
int WriteKeyAccidentals(DrawingContext& dc, const StaffFrame& frame, int x, KeyKind kind, int from, int to, int code) {
    const int advance = KeyAccidentalAdvance(dc.widths.accidentalWidth[frame.small ? 1 : 0][0], frame.staffSpace);
    for (int i = from; i < to; ++i) {
        const int clef = ClefValueAt(dc.staves, frame.index, x);
        const KeyAccidentalPitch p = KeyAccidentalAt(kind, i, clef);
        PutGlyph(dc, x, frame.reference + PitchToOffset(p.step, p.octave, clef, frame.halfSpace, frame.lines), code);
        x += advance;
    }
    return x;
}

int WriteKey(DrawingContext& dc, const StaffFrame& frame, int x, Key key) {
    if (key.kind == KeyKind::None) return x;
    return WriteKeyAccidentals(dc, frame, x, key.kind, 0, key.count, KeyAccidentalCode(key.kind));
}

// The clef a line opens with: the first clef before its music, unless a bar comes first.
const ElementRecord* LineStartClef(const StaffRecord& staff) {
    for (const ElementRecord& e : staff.elements) {
        if (!e.isSign() || e.isSignOfType(SignType::Bar)) return nullptr;
        if (e.isSignOfType(SignType::Clef)) return &e;
    }
    return nullptr;
}

// Between a clef's ink and the key after it, in staff spaces.
constexpr double ClefKeyGap = 0.8;

}  // namespace

int StaffKeyStart(const DrawingContext& dc, const StaffRecord& staff, int leftEdge, bool smallStaff) {
    const bool old = staff.key().oldNotation();
    const ElementRecord* clef = LineStartClef(staff);
    if (clef == nullptr || (clef->w0().hidden() && !dc.draw.showHidden))
        return LineStartKeyX(leftEdge, dc.metrics.stepUnit, old);
    const int gap = static_cast<int>(std::lround(ClefKeyGap * dc.metrics.staffSpace[smallStaff ? 1 : 0]));
    return ClefInkRight(dc, *clef, smallStaff, old) + gap;
}

int DrawStaffKeySignature(DrawingContext& dc, const StaffRecord& staff, int index) {
    const auto frame = FrameOfStaff(dc, index);
    if (!frame) return 0;
    const int su = dc.metrics.stepUnit;
    const int start = StaffKeyStart(dc, staff, dc.staves[static_cast<std::size_t>(index)].left, frame->small);
    const Key key = KeyOfStaff(staff);
    WriteKey(dc, *frame, start, key);
    const int advance = KeyAccidentalAdvance(dc.widths.accidentalWidth[frame->small ? 1 : 0][0], frame->staffSpace);
    return LineStartKeyEnd(start, key.count, advance, su);
}

int DrawKeyChange(DrawingContext& dc, const StaffRecord& staff, int index) {
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    int x = e.x + e.shift;
    const auto frame = FrameOfElement(dc, staff, e);
    if (!frame) return x;
    const Key key = KeyOfChange(e);
    if (e.signWord().flag16()) {
        if (key.kind != KeyKind::None) x = WriteKeyAccidentals(dc, *frame, x, key.kind, 0, key.count, NaturalCode);
    } else {
        // What the new key no longer has is cancelled first: the places beyond its count under the same kind,
        // every place under another kind.
        const Key before = KeyBefore(staff, index);
        const int keep = before.kind == key.kind ? key.count : 0;
        if (before.kind != KeyKind::None && keep < before.count)
            x = WriteKeyAccidentals(dc, *frame, x, before.kind, keep, before.count, NaturalCode);
        x = WriteKey(dc, *frame, x, key);
    }
    return x + 6 * dc.metrics.stepUnit;
}

}  // namespace notavera
