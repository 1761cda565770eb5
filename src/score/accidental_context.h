// What the context of a staff says about a note's accidental: the key in effect at a position (staff key or
// the nearest key change before it), whether that key alters a note name, and the accidental a new note
// inherits from the key or from an earlier note of the same bar.
#pragma once

#include <array>
#include <optional>

#include "score/records.h"

namespace notavera {

class ScoreDocument;

struct KeyInEffect {
    KeyKind kind = KeyKind::None;
    unsigned count = 0;      // sharps or flats, 0–7
    bool cancelled = false;  // a cancelling key change: drawn as naturals, alters no note
};

// The key in effect at x, looking back from the element at fromIndex (clamped to the staff's last element):
// elements whose x lies beyond x are passed over, then the nearest key change (sign type 13) at or before
// that point is taken when its x is not beyond x; otherwise the staff's own key holds.
KeyInEffect KeyInEffectAt(const StaffRecord& staff, int fromIndex, int x);
// A staff (a line) begins in `key`; after a cancelling key change it begins without a key signature.
void StartStaffInKey(StaffRecord& staff, const KeyInEffect& key);

// `KeyInEffectAt` made the document's key in effect (`doc.insertion.key`), which the key commands start from and
// every lookup overwrites. Returns the count of its sharps or flats, 0 when no key alters anything there.
unsigned KeyAt(ScoreDocument& doc, const StaffRecord& staff, int fromIndex, int x);
// KeyAt looking back from the staff's last element.
unsigned KeyAtEnd(ScoreDocument& doc, const StaffRecord& staff, int x);

// Whether the key alters note name `step` (1 C … 7 B; the pitch codes 0, 8 and 9 count as B, C and D).
bool StepInKey(const KeyInEffect& key, unsigned step);

// A bar line that divides bars: a visible bar-line sign whose code is 0 or a bar character above 64; braces
// (codes 1–64) and square brackets (negative codes) only join staves.
bool DividesBars(const ElementRecord& e);

// The accidental the context gives the element at `index` of the staff if it were a note of this name and
// octave: the accidental of the nearest earlier note of the same name and octave in the same bar, else the
// key's accidental when the key in effect at its x alters the name; nothing otherwise (or for a bad index).
std::optional<Accidental> ContextAccidental(const StaffRecord& staff, int index, unsigned step, unsigned octave);

// The context of accidentals carried along a left-to-right walk over one staff, for work that asks at element
// after element (a score being built): each element is read once, where looking back to the bar's or the staff's
// start at every element would make a long staff cost the square of its length. The staff is in x order, as
// staves keep their elements, and nothing is put in or taken out before the element last asked about while the
// walk is carried.
class AccidentalWalk {
public:
    // ContextAccidental(staff, index, step, octave). `page` and `staffIndex` name the staff: a walk asked about
    // another staff, or about an element before the one it last answered for, starts again from the staff's start.
    std::optional<Accidental> at(const StaffRecord& staff, int page, int staffIndex, int index, unsigned step,
                                 unsigned octave);

private:
    void restart(int page, int staffIndex);
    void pass(const ElementRecord& e);

    int page_ = -1;
    int staffIndex_ = -1;
    int next_ = 0;  // the first element not yet passed
    std::optional<KeyInEffect> change_;  // the last key change passed; the staff's own key holds without one
    // The accidental of the last note of each name (16) and octave (8) passed in the current bar.
    std::array<Accidental, 128> inBar_{};
};

}  // namespace notavera
