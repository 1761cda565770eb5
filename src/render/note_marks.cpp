// Ledger lines, accidentals and dots in the geometry of the staff they are drawn on.
#include "render/note_marks.h"

#include <algorithm>

#include "render/primitives.h"

namespace notavera {

int AccidentalCode(int kind) {
    switch (kind) {
    case 1: return 211;
    case 2: return 213;
    case 3: return 212;
    case 4: return 214;
    case 5: return 213;
    case 6: return 244;
    case 7: return 246;
    default: return 0;
    }
}

void DrawLedgerLines(DrawingContext& dc, const StaffPlace& place, int y, int centre, int halfLength) {
    if (dc.inMetafilePass() && !dc.exportRegion.containsX(centre)) return;
    const StaffMetrics& m = dc.metrics;
    const int half = m.halfSpace[place.size], space = m.staffSpace[place.size];
    const int top = place.topLine, bottom = place.bottomLine(m);
    if (y < top + half && y > bottom - half) return;

    const bool above = y >= top + half;
    int d = above ? y - top : bottom - y;
    if (d % space != 0) d -= half;
    const int count = d / space;
    const int step = above ? -space : space;
    // From the head's own line towards the staff.
    int lineY = above ? top + count * space : bottom - count * space;
    const int width = dc.thickness.staffLine + 1;
    for (int i = 0; i < count; ++i, lineY += step)
        DrawHLine(dc, centre - halfLength, centre + halfLength, lineY, width);
}

void DrawAccidental(DrawingContext& dc, int x, int y, int kind) {
    const int code = AccidentalCode(kind);
    if (code == 0) return;
    PutGlyph(dc, x, y, code);
    if (kind == 5) PutGlyph(dc, x - GlyphWidth(dc, 213, dc.draw.isSmallStaff, dc.draw.isCueSize), y, 213);
}

int DotHeight(const DrawingContext& dc, const StaffPlace& place, int y) {
    return place.onLine(y, dc.metrics) ? y + dc.metrics.halfSpace[place.size] : y;
}

void DrawDots(DrawingContext& dc, const StaffPlace& place, int x, int y, int count) {
    const StaffMetrics& m = dc.metrics;
    const int radius = std::max(static_cast<int>(m.quarterSpace[place.size] * 4 / 5), 2);
    const int gap = std::max(m.stepUnit, 6);
    for (int i = 0; i < count; ++i) DrawDisc(dc, x + i * gap, y, radius);
}

}  // namespace notavera
