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

}  // namespace notavera
