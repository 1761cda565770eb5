// The marks that go with a pitch, for notes and for the free signs alike: ledger lines, accidentals and dots.
#pragma once

#include "render/element_placement.h"

namespace notavera {

// The music-font code of accidental kind 1–7 (sharp, flat, natural, double sharp, double flat, quarter-tone sharp
// and flat); 0 for a kind without one. The double flat is written as two flats.
int AccidentalCode(int kind);

// The ledger lines a head at height y needs above or below the staff of `place`, centred on `centre`, from the
// outermost one (at the head's line) towards the staff; none for a head between the space above and the space
// below the staff. In the metafile passes they are left out when the centre lies outside the export region.
void DrawLedgerLines(DrawingContext& dc, const StaffPlace& place, int y, int centre, int halfLength);

// Accidental `kind` with its left edge at x, on height y. A double flat writes a second flat one flat's width to the
// left of the first.
void DrawAccidental(DrawingContext& dc, int x, int y, int kind);

// The height of the dots of something at height y: a dot that would sit on a line is raised half a space into the
// space above. Ledger lines count too: they reach far enough beyond the head for a level dot to touch them.
int DotHeight(const DrawingContext& dc, const StaffPlace& place, int y);

// `count` dots from x (the first dot's centre) to the right, at height y (see DotHeight).
void DrawDots(DrawingContext& dc, const StaffPlace& place, int x, int y, int count);

}  // namespace notavera
