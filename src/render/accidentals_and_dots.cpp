// Accidental glyph codes and dot placement.
#include "render/accidentals_and_dots.h"

#include <algorithm>

#include "render/note_marks.h"
#include "render/primitives.h"

namespace notavera {
int DotRadius(const DrawingContext& dc) {
    return std::max(static_cast<int>(dc.metrics.quarterSpace[static_cast<std::size_t>(dc.sizeIndex())] * 4 / 5), 2);
}

void DrawDot(DrawingContext& dc, int x, int y, int offset) {
    const auto size = static_cast<std::size_t>(dc.sizeIndex());
    const int space = dc.metrics.staffSpace[size];
    const int height = dc.metrics.staffHeight[size];
    // Offsets count from the reference, a staff height above the top line.
    const bool onLine = space > 0 && offset % space == 0;
    const bool withinStaff = offset <= -height && offset >= -2 * height;
    if (onLine && withinStaff) y += dc.metrics.halfSpace[size];
    DrawDisc(dc, x, y, DotRadius(dc));
}

void DrawAccidentalOrDots(DrawingContext& dc, int x, int y, int offset, MarkMode mode, int kind) {
    if (mode == MarkMode::Accidental) {
        DrawAccidental(dc, x, y, kind);
        return;
    }
    if (kind < 0 || kind > 1) return;
    DrawDot(dc, x, y, offset);
    if (kind == 1) DrawDot(dc, x + std::max(dc.metrics.stepUnit, 6), y, offset);
}

}  // namespace notavera
