// Drawing the signs of a staff: clefs, key signatures, bar lines, braces and brackets, time signatures, and the
// free accidentals, dots and parentheses placed on a pitch; curve signs and texts go to their own drawers.
// Drawings and pictures go to the drawing layer's drawer.
#pragma once

#include <optional>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Sign `index` of the staff by its type. A hidden sign is drawn only while hidden elements are shown; a hidden clef
// still enters the staff's clef state and a hidden time signature still sets the playback proportion.
void DrawSign(DrawingContext& dc, const StaffRecord& staff, int index);

// A clef (type 6) at its line; its clef value is entered in the staff's clef state from its x on. Without a canvas
// only the clef state is built.
void DrawClef(DrawingContext& dc, const StaffRecord& staff, int index, bool visible = true);

// Where the ink of a clef sign ends on the right, as DrawClef writes it.
int ClefInkRight(const DrawingContext& dc, const ElementRecord& clef, bool smallStaff, bool alternateLine);

// Where the own key of `staff` begins: a fixed gap after the ink of the clef its line opens with, whatever that
// clef's x and width; 8 step units after the staff's left edge (9 on an old-notation line) when the line shows
// no clef.
int StaffKeyStart(const DrawingContext& dc, const StaffRecord& staff, int leftEdge, bool smallStaff);

// The own key (its key word) of the staff placed at `index` of the pass, at the start of its line (StaffKeyStart),
// read in the clefs already entered for it. Returns where the following element may start: 6 step units after the
// last accidental.
int DrawStaffKeySignature(DrawingContext& dc, const StaffRecord& staff, int index);

// A key change (type 13): first naturals for what it cancels of the key before it, then its own accidentals; a
// change carrying the cancellation flag is drawn as the naturals of the key it names. Returns where the following
// element may start.
int DrawKeyChange(DrawingContext& dc, const StaffRecord& staff, int index);

// A bar line (type 0): single, double, final, the repeats, the entry bar, the special bar 12; codes 1–64 draw a
// brace and −1 to −64 a square bracket from this staff to the staff that many below.
void DrawBar(DrawingContext& dc, const StaffRecord& staff, int index);

// Where the ink of the staff's closing bar ends on the right, when its last element is a final bar or an end repeat.
std::optional<int> ClosingBarRight(const DrawingContext& dc, const StaffRecord& staff, bool smallStaff);

// A brace from `top` to `bottom` whose right edge is at x, and a square bracket whose thick stroke ends at x with
// its hooks reaching right over the staves. Both are sized from the music font's own glyphs and thickness.
void DrawBrace(DrawingContext& dc, int x, int top, int bottom);
void DrawSquareBracket(DrawingContext& dc, int x, int top, int bottom);

// A time signature (type 5): numerals, the one-character forms, the mensural signs. It sets the context's
// playback proportion and returns where the following element may start.
int DrawTimeSignature(DrawingContext& dc, const StaffRecord& staff, int index, bool visible = true);

// The playback proportion a time signature sets: forms 0 → 4/4, 1 and 2 → 2/2, 3 → 3/2, 4 → 4/2, 5 → 6/2; circle and
// first arc 2/2, second arc 4/2, prolation dot 9/4, a vertical stroke makes the denominator 1; numerals num/den
// (each at least 1); anything else 1/1.
PlaybackProportion TimeSignatureProportion(const ElementRecord& timeSignature);

// A free accidental (type 1), free dots (type 2) or a parenthesis (type 3) at the height of its pitch.
void DrawPitchedSign(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
