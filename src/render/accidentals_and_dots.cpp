// Accidental glyph codes and dot placement.
#include "render/accidentals_and_dots.h"

#include <algorithm>
#include <array>

#include "render/primitives.h"

namespace notavera {
namespace {

constexpr int FlatCode = 213;

// Glyph codes of accidental kinds 1–7; the double flat (5) is written as two flats.
constexpr std::array<int, 8> AccidentalCodes{0, 211, 213, 212, 214, FlatCode, 244, 246};

void DrawAccidental(DrawingContext& dc, int x, int y, int kind) {
    if (kind < 1 || kind > 7) return;
    PutGlyph(dc, x, y, AccidentalCodes[static_cast<std::size_t>(kind)]);
    if (kind == 5) PutGlyph(dc, x - GlyphWidth(dc, FlatCode, dc.draw.isSmallStaff, dc.draw.isCueSize), y, FlatCode);
}

}  // namespace

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
