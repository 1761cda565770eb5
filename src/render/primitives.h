// The drawing primitives every element drawer uses: music-font glyphs and strings, the width of a glyph, vertical
// strokes, bands and discs. Coordinates are page units; each primitive applies the zoom itself. Nothing is drawn
// without a canvas.
#pragma once

#include <string_view>

#include "render/drawing_context.h"

namespace notavera {

// One character of the music font with its baseline point at (x, y), in the font of the current staff size and
// cue flag. On old-notation lines codes take their alternate (see SubstituteCode). During the metafile passes a
// glyph whose x lies outside the visible region is skipped.
void PutGlyph(DrawingContext& dc, int x, int y, int code);

// A string of music-font codes from (x, y); centred, it is first moved left by half its width. The metafile pass
// cannot measure: it takes back, in order, the half widths the measuring pass recorded.
void PutGlyphText(DrawingContext& dc, int x, int y, std::string_view codes, bool centred);

// A glyph the system has no code for (braces, bracket ends, octave-line labels), scaled to `space` page units a staff
// space, with the point (boxX, boxY) of its ink box (in staff spaces from its origin) on page point (x, y).
void PutGlyphAt(DrawingContext& dc, const MusicGlyph& g, int x, int y, double boxX, double boxY, double space);

// The width of one code in page units, in the music font of the given staff size and cue flag at the current zoom.
int GlyphWidth(const DrawingContext& dc, int code, bool smallStaff = false, bool cueSize = false);

// Where the ink of `code` written at (0, 0) lies, in page units at any zoom: the font's box of the glyph the code
// draws at the given staff size and cue flag (and on an old-notation line, its alternate). All 0 when the font
// has no glyph for it.
struct GlyphInkBox {
    int left = 0;
    int right = 0;
    int bottom = 0;
    int top = 0;
};
GlyphInkBox GlyphInk(const DrawingContext& dc, int code, bool smallStaff, bool cueSize, bool alternateLine = false);

// A vertical stroke of `width` page units (a geometric pen: the zoom does not thicken it) in `drawColour`. With a
// line style set it is drawn one pixel wide in that style and thickened by copies one pixel apart. In the metafile
// passes it is clipped to the export region and skipped when x lies outside it.
void DrawVLine(DrawingContext& dc, int y1, int y2, int x, int width);

// A horizontal stroke from x1 to x2 at height y, `width` page units thick and cut square at its ends, in
// `drawColour` (ledger lines). In the metafile passes it is clipped to the export region and skipped when y lies
// outside it.
void DrawHLine(DrawingContext& dc, int x1, int x2, int y, int width);

// A filled quadrilateral (x1, y1), (x2, y2), (x2, y2 + t), (x1, y1 + t) with a one-pixel outline of its colour;
// t may be negative. Beams are drawn with it.
void DrawBand(DrawingContext& dc, int x1, int y1, int x2, int y2, int t, Colour colour);

// A filled circle of radius r in `drawColour`.
void DrawDisc(DrawingContext& dc, int x, int y, int r);

}  // namespace notavera
