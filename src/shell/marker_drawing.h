// What the editor shows over a page on the screen besides the score: the marked region inverted, the element
// highlighted after an arrow key, marker X, marker Y, the page marker and the insertion cursor in its two forms.
#pragma once

#include "platform/canvas.h"

namespace notavera {

struct DrawingContext;
struct EditorContext;

// Marker colours: marker X red, marker Y green, the page marker blue; the highlight takes the editor's fill.
inline constexpr Colour MarkerXColour = RgbColour(220, 0, 0);
inline constexpr Colour MarkerYColour = RgbColour(0, 160, 0);
inline constexpr Colour PageMarkerColour = RgbColour(0, 0, 255);
inline constexpr Colour HighlightColour = RgbColour(255, 130, 68);

// Draws the markers of the document's current page on dc.canvas, after DrawPage placed the staves (dc.staves).
// Each mark is drawn only when it belongs to that page; the insertion cursor always is (at the cursor x, on the
// place the current staff stands at). Erasing is a repaint without them.
void DrawMarkers(DrawingContext& dc, EditorContext& ctx);

}  // namespace notavera
