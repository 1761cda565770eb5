// Clefs: the glyph of each clef number on its line, and the clef state the staff's pitches are read with.
#include <array>

#include "render/draw_signs.h"
#include "render/geometry.h"
#include "render/primitives.h"
#include "render/staff_frame.h"

namespace notavera {
namespace {

struct ClefGlyph {
    int code;
    int spacesBelowTop;  // the line the clef is written on, in staff spaces below the top line
};

// Clef numbers 1–12: G line 2, G line 1, F line 4, F line 3, C lines 1 to 4, G octave clef, F line 5, C line 5,
// percussion.
constexpr std::array<ClefGlyph, 12> ClefGlyphs{{
    {207, 3}, {207, 4}, {208, 1}, {208, 2}, {209, 4}, {209, 3}, {209, 2}, {209, 1}, {210, 3}, {208, 0}, {209, 0},
    {152, 2},
}};

// A clef number the system does not know is still shown, so that it can be found and mended: a G clef on the top
// line.
constexpr ClefGlyph UnknownClef{207, 0};

ClefGlyph GlyphOfClef(int clef) {
    if (clef < 1 || clef > static_cast<int>(ClefGlyphs.size())) return UnknownClef;
    return ClefGlyphs[static_cast<std::size_t>(clef - 1)];
}

// The x the clef glyph is written at: two step units left of the element, one less for a cue clef.
int ClefGlyphX(const DrawingContext& dc, const ElementRecord& e, bool cue) {
    return e.x + e.shift - 2 * dc.metrics.stepUnit + (cue ? dc.metrics.stepUnit : 0);
}

}  // namespace

int ClefInkRight(const DrawingContext& dc, const ElementRecord& clef, bool smallStaff, bool alternateLine) {
    const bool cue = clef.w0().cueSize();
    const int code = GlyphOfClef(static_cast<int>(clef.signWord().code())).code;
    return ClefGlyphX(dc, clef, cue) + GlyphInk(dc, code, smallStaff, cue, alternateLine).right;
}

void DrawClef(DrawingContext& dc, const StaffRecord& staff, int index, bool visible) {
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const int clef = static_cast<int>(e.signWord().code());
    const int x = e.x + e.shift;
    const int own = static_cast<int>(staff.key().index());
    if (own >= 0 && static_cast<std::size_t>(own) < dc.staves.size())
        dc.staves[static_cast<std::size_t>(own)].clefs.add(x, ClefValueOfClef(clef));
    if (!visible) return;
    const auto frame = FrameOfStaff(dc, own);
    if (!frame) return;
    const ClefGlyph glyph = GlyphOfClef(clef);
    // Staves of more than five lines keep the clef's line counted from the bottom.
    const int extraLines = frame->lines > 5 ? frame->lines - 5 : 0;
    const int y = frame->topLine() - (glyph.spacesBelowTop + extraLines) * frame->staffSpace;
    PutGlyph(dc, ClefGlyphX(dc, e, dc.draw.isCueSize), y, glyph.code);
}

}  // namespace notavera
