// Enharmonic respelling of a note: the same key of the keyboard written from the neighbouring note name (C sharp
// as D flat, E sharp as F), with its accidental then shown or hidden as the key in effect at the note asks.
#pragma once

#include "score/accidental_context.h"
#include "score/records.h"

namespace notavera {

class ScoreDocument;

// Respells note `index` of the staff. A sharp goes to the name above (C♯ → D♭, E♯ → F, B♯ → C an octave up), a
// flat to the name below (D♭ → C♯, F♭ → E, C♭ → B an octave down), a double sharp or double flat to the
// neighbouring name (C𝄪 → D, E𝄪 → F♯, F𝄫 → E♭, C𝄫 → B♭). With `withNaturals`, a natural note (no accidental, or
// a natural) is spelt from its neighbour where one is a semitone away: E → F♭, F → E♯, B → C♭ an octave up,
// C → B♯ an octave down. A note the octave field cannot follow (B♯ in the top octave, C♭ in the bottom one),
// a rest, a sign, and a quarter-tone accidental are left alone. Then the key in effect at the note (looked up
// into the document's key in effect) decides: on a name the key alters, the key's own accidental is hidden and a
// note without one gets a shown natural; every other accidental is shown. False when nothing changed.
bool Respell(ScoreDocument& doc, StaffRecord& staff, int index, bool withNaturals);
// The same for a note whose key in effect the caller knows (a staff being written without key changes), so that the
// staff is not read back to find it.
bool Respell(ElementRecord& note, bool withNaturals, const KeyInEffect& key);

}  // namespace notavera
