// Accidentals and rhythm dots written beside notes and as free signs: the accidental glyphs of each kind, the size
// of a dot and how it leaves a staff line.
#pragma once

#include "render/drawing_context.h"

namespace notavera {

enum class MarkMode { Accidental = 1, Dots = 2 };

// The radius of a rhythm dot: four fifths of a quarter space, at least 2 page units.
int DotRadius(const DrawingContext& dc);

// One dot centred at (x, y); `offset` is its height from the staff's reference. A dot that would sit on a line of
// the staff is raised into the space above.
void DrawDot(DrawingContext& dc, int x, int y, int offset);

// Accidental mode: the accidental `kind` (1 sharp, 2 flat, 3 natural, 4 double sharp, 5 double flat — two flats,
// the second one a flat's width further left —, 6 quarter-tone sharp, 7 quarter-tone flat) written at x. Dots
// mode: kind + 1 dots from x (kind 0 one dot, 1 two), the second max(stepUnit, 6) to the right. Other kinds draw
// nothing.
void DrawAccidentalOrDots(DrawingContext& dc, int x, int y, int offset, MarkMode mode, int kind);

}  // namespace notavera
