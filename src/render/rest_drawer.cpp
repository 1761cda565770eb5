// Rest drawing. SMuFL rest glyphs are centred on their origin's line, the middle line of a staff whose rests stand
// where engravers put them; the system counts a rest's height one space lower, where its half rest stands.
#include "render/rest_drawer.h"

#include <cmath>

#include "render/note_geometry.h"
#include "render/note_marks.h"
#include "render/primitives.h"

namespace notavera {
namespace {

struct RestFrame {
    int x = 0;     // the rest's column: its x with its shift
    int y = 0;     // its height
    int half = 0;  // half space of its staff
    int space = 0;
    int w = 0;     // the unit of the block widths
};

// Half the width of the whole and half rest blocks: in old notation a narrow block, otherwise as wide as the font's
// own whole rest (two thirds of a whole note's ledger line for a font without one).
int BlockHalfWidth(const DrawingContext& dc, const StaffPlace& place, const RestFrame& f) {
    if (dc.draw.alternateGlyphs) return f.w / 4;
    if (dc.musicFont != nullptr) {
        if (const auto box = dc.musicFont->metadata().box("restWhole"); box && box->width() > 0)
            return static_cast<int>(std::lround(box->width() * GlyphSpace(dc) / 2));
    }
    return CueLength(dc, dc.widths.wholeLedgerHalfLength[place.size] * 2 / 3, dc.draw.isCueSize);
}

void DrawRestDots(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int x, int y) {
    const int count = static_cast<int>(e.noteWord().dots());
    if (count == 0 || (e.w0().hiddenDots() && !dc.draw.showHidden)) return;
    DrawDots(dc, place, x, DotHeight(dc, place, y), count);
}

void DrawGlyphRest(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, const RestFrame& f, int value) {
    const int x = f.x - dc.widths.noteheadHalfWidth[place.size][dc.cueIndex()];
    const int y = f.y + f.space;
    PutGlyph(dc, x, y, 211 + value);
    DrawRestDots(dc, place, e, x + 3 * f.w, y);
}

// Whole and half rests: a block hanging from its line or standing on it, with a short ledger stroke through a line
// outside the staff.
void DrawBlockRest(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, const RestFrame& f, int value) {
    const StaffMetrics& m = dc.metrics;
    const int b = BlockHalfWidth(dc, place, f);
    const bool whole = value == 2;
    const int line = f.y + (whole ? (place.lines == 1 ? 1 : 2) * f.space : f.space);
    const int bottom = whole ? line - f.half : line;
    DrawBand(dc, f.x - b, bottom, f.x + b, bottom, f.half, dc.draw.drawColour);
    if (line > place.topLine || line < place.bottomLine(m))
        DrawHLine(dc, f.x - 3 * b / 2, f.x + 3 * b / 2, line, dc.thickness.staffLine);
    DrawRestDots(dc, place, e, f.x + 3 * b / 2 + f.w, bottom + f.half / 2);
}

// Longa and breve rests: a narrow block two spaces or one space high; the breve's is closed by thin strokes.
void DrawBarRest(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, const RestFrame& f, int value) {
    const int quarterW = f.w / 4;
    const int bottom = value == 0 ? f.y : f.y + f.space;
    const int height = value == 0 ? 2 * f.space : f.space;
    DrawBand(dc, f.x - quarterW, bottom, f.x + quarterW, bottom, height, dc.draw.drawColour);
    if (value == 1) {
        DrawHLine(dc, f.x - f.w, f.x + f.w, bottom, 1);
        DrawHLine(dc, f.x - f.w, f.x + f.w, bottom + height, 1);
    }
    DrawRestDots(dc, place, e, f.x + quarterW + f.w, bottom + f.half);
}

// A rest of several bars: a block from its line up one space; the number of bars is a text beside it.
void DrawMultiBarRest(DrawingContext& dc, const RestFrame& f) {
    const int line = f.y + f.space;
    DrawBand(dc, f.x - 2 * f.w / 3, line, f.x + 2 * f.w / 3, line, f.space, dc.draw.drawColour);
}

}  // namespace

void DrawRest(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e) {
    const StaffMetrics& m = dc.metrics;
    RestFrame f;
    f.x = e.x + e.shift;
    f.y = PitchHeight(dc, place, e);
    f.half = m.halfSpace[place.size];
    f.space = m.staffSpace[place.size];
    f.w = f.half;
    const int value = DrawnRestValue(e);
    if (value >= 15) {
        DrawMultiBarRest(dc, f);
        return;
    }
    if (value >= 4) {
        DrawGlyphRest(dc, place, e, f, value);
        return;
    }
    // Blocks sit on lines: a rest whose height falls in a space goes down to the line below.
    if (!place.onLine(f.y, m)) f.y -= f.half;
    if (value >= 2) DrawBlockRest(dc, place, e, f, value);
    else DrawBarRest(dc, place, e, f, value);
}

}  // namespace notavera
