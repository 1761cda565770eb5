// Drawing the text signs of a staff: the font a text names in the document's table (the music font for its
// first entry), its style, orientation, size, lyric justification and opaque background, at the height its
// parameter gives.
#pragma once

#include <optional>
#include <string>

#include "render/drawing_context.h"
#include "score/records.h"
#include "score/text_records.h"

namespace notavera {

// How a text sign is laid on the page, in page units. In a text face the reference is the top-left corner of the
// text's cell (the top is the lower edge plus the size); in the music font it is the left end of the baseline,
// on the lower edge. The text runs from it along its orientation and turns about it. `box` is what its
// characters cover: the face's ascent and descent, or the ink of the music font's glyphs.
struct TextPlacement {
    Point reference;
    Point baseline;  // the start of the baseline
    int width = 0;   // the advance of the characters
    Box box;
    bool musicFont = false;
    int size = 0;   // the character height drawn
    int space = 0;  // the staff space of the text's staff
};

// The placement of text `index` of the staff, measured on the context's canvas (widths only; ascents and descents
// are the font's own, so that a metafile, which cannot measure, places texts as the screen does). Nothing for
// an element that is not a text, or a staff the pass has not placed.
std::optional<TextPlacement> PlaceTextSign(DrawingContext& dc, const StaffRecord& staff, int index);

// Draws text `index` of the staff in the drawing colour, noting its box for recording canvases as a "textBox".
// Octave-line labels are left to the octave lines, which draw them with the line. In the metafile passes a text
// whose x lies outside the region is skipped.
void DrawTextSign(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
