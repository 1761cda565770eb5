// The insertion cursor: the band one step wide and one octave high that shows, on the current staff, where the
// next note goes and in which octave. It is drawn NOT-XOR over the page, so drawing it twice takes it away.
#include "render/insertion_cursor.h"

namespace notavera {

std::optional<Box> InsertionCursorBox(const DrawingContext& dc, const ScoreDocument& doc, int x,
                                      std::optional<int> placedStaff) {
    const int staff = placedStaff.value_or(doc.currentStaff);
    if (doc.findPage(doc.currentPage) == nullptr || staff < 0 || staff >= static_cast<int>(dc.staves.size()))
        return std::nullopt;
    const StaffDrawState& placed = dc.staves[static_cast<std::size_t>(staff)];
    const int size = placed.small ? 1 : 0;
    const int half = dc.metrics.halfSpace[static_cast<std::size_t>(size)];
    const int octave = static_cast<int>(doc.insertion.octave) - 4;
    int halves = 16 - placed.clefs.valueAt(x) - 7 * octave;
    if (placed.lines > 5) halves += 2 * placed.lines - 10;
    const int bottom = static_cast<int>(placed.referenceY) - halves * half;
    return Box{x, bottom, x + dc.metrics.stepUnit, bottom + dc.metrics.octaveSpan[static_cast<std::size_t>(size)]};
}

void DrawInsertionCursor(DrawingContext& dc, const ScoreDocument& doc, int x, std::optional<int> staff) {
    if (dc.canvas == nullptr) return;
    const std::optional<Box> box = InsertionCursorBox(dc, doc, x, staff);
    if (!box) return;
    const Box zoomed{dc.toDevice(box->left), dc.toDevice(box->bottom), dc.toDevice(box->right),
                     dc.toDevice(box->top)};
    // Black under NOT-XOR inverts what lies beneath, whatever its colour.
    dc.canvas->setRasterOp(RasterOp::NotXor);
    dc.canvas->drawRect(zoomed, ShapeStyle{std::nullopt, Colour{0}});
    dc.canvas->setRasterOp(RasterOp::Copy);
}

}  // namespace notavera
