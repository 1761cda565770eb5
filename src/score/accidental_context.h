// What the context of a staff says about a note's accidental: the key in effect at a position (staff key or
// the nearest key change before it), whether that key alters a note name, and the accidental a new note
// inherits from the key or from an earlier note of the same bar.
#pragma once

#include <optional>

#include "score/records.h"

namespace notavera {

struct KeyInEffect {
    KeyKind kind = KeyKind::None;
    unsigned count = 0;      // sharps or flats, 0–7
    bool cancelled = false;  // a cancelling key change: drawn as naturals, alters no note
};

// The key in effect at x, looking back from the element at fromIndex (clamped to the staff's last element):
// elements whose x lies beyond x are passed over, then the nearest key change (sign type 13) at or before
// that point is taken when its x is not beyond x; otherwise the staff's own key holds.
KeyInEffect KeyInEffectAt(const StaffRecord& staff, int fromIndex, int x);

// Whether the key alters note name `step` (1 C … 7 B; the pitch codes 0, 8 and 9 count as B, C and D).
bool StepInKey(const KeyInEffect& key, unsigned step);

// A bar line that divides bars: a visible bar-line sign whose code is not a brace (1–64).
bool DividesBars(const ElementRecord& e);

// The accidental the context gives the element at `index` of the staff if it were a note of this name and
// octave: the accidental of the nearest earlier note of the same name and octave in the same bar, else the
// key's accidental when the key in effect at its x alters the name; nothing otherwise (or for a bad index).
std::optional<Accidental> ContextAccidental(const StaffRecord& staff, int index, unsigned step, unsigned octave);

}  // namespace notavera
