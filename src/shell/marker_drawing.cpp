// The marks drawn over the page: thin coloured lines and small triangles that stay out of the music's way, the
// region inverted as a selection, and the insertion cursor on top of everything.
#include "shell/marker_drawing.h"

#include <algorithm>
#include <array>

#include "render/draw_element.h"
#include "render/insertion_cursor.h"
#include "shell/cross_staff.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

const StaffDrawState* PlacedStaff(const DrawingContext& dc, int staff) {
    if (staff < 0 || staff >= static_cast<int>(dc.staves.size())) return nullptr;
    return &dc.staves[static_cast<std::size_t>(staff)];
}

int SpaceOf(const DrawingContext& dc, const StaffDrawState& s) { return dc.metrics.staffSpace[s.small ? 1 : 0]; }
int BottomLine(const DrawingContext& dc, const StaffDrawState& s) {
    return s.topLine - (std::max(s.lines, 1) - 1) * SpaceOf(dc, s);
}

Box Zoomed(const DrawingContext& dc, Box b) {
    return {dc.toDevice(std::min(b.left, b.right)), dc.toDevice(std::min(b.bottom, b.top)),
            dc.toDevice(std::max(b.left, b.right)), dc.toDevice(std::max(b.bottom, b.top))};
}

void Triangle(DrawingContext& dc, Point apex, int halfWidth, int height, Colour colour) {
    const std::array<Point, 3> points{Point{dc.toDevice(apex.x), dc.toDevice(apex.y)},
                                      Point{dc.toDevice(apex.x - halfWidth), dc.toDevice(apex.y - height)},
                                      Point{dc.toDevice(apex.x + halfWidth), dc.toDevice(apex.y - height)}};
    dc.canvas->drawPolygon(points, ShapeStyle{std::nullopt, colour});
}

void DrawZoneRectangle(DrawingContext& dc, const EditorContext& ctx) {
    const CursorState& c = ctx.shell.cursor;
    if (!c.zoneRect.shown || (c.zone.marked() && c.zone.page != ctx.doc.currentPage)) return;
    dc.canvas->setRasterOp(RasterOp::Invert);
    dc.canvas->drawRect(Zoomed(dc, {c.zoneRect.left, c.zoneRect.bottom, c.zoneRect.right, c.zoneRect.top}),
                        ShapeStyle{std::nullopt, Colour{0}});
    dc.canvas->setRasterOp(RasterOp::Copy);
}

// The element drawn again in the highlight colour over its normal drawing.
void DrawHighlight(DrawingContext& dc, EditorContext& ctx) {
    const ElementPlace& h = ctx.shell.cursor.highlighted;
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    if (h.empty() || h.page != ctx.doc.currentPage || page == nullptr) return;
    if (h.staff < 0 || h.staff >= static_cast<int>(page->staves.size())) return;
    const StaffRecord& staff = page->staves[static_cast<std::size_t>(h.staff)];
    if (h.element < 0 || h.element >= static_cast<int>(staff.elements.size())) return;
    const DrawState kept = dc.draw;
    const std::optional<PendingCurve> pending = dc.pendingCurve;
    // The element counts as its own pending curve start, so that a tie ending on it draws no stray curve from
    // the line's edge: the highlight is the element, not its curves.
    dc.pendingCurve = PendingCurve{&staff, h.element};
    BeginStaff(dc, staff, h.staff);
    dc.draw.drawColour = HighlightColour;
    DrawElement(dc, staff, h.element);
    dc.draw = kept;
    dc.pendingCurve = pending;
}

// Marker X: a thin vertical line through the current staff, two spaces beyond its outer lines.
void DrawMarkerX(DrawingContext& dc, const EditorContext& ctx) {
    const int x = ctx.shell.cursor.markerX;
    const StaffDrawState* s = PlacedStaff(dc, ctx.doc.currentStaff);
    if (x == 0 || s == nullptr) return;
    const int reach = 2 * SpaceOf(dc, *s);
    dc.canvas->drawLine({dc.toDevice(x), dc.toDevice(s->topLine + reach)},
                        {dc.toDevice(x), dc.toDevice(BottomLine(dc, *s) - reach)},
                        Pen{MarkerXColour, 0, PenStyle::Solid, PenEnds::Flat});
}

// Marker Y: a small triangle under the zone's start element, pointing up at it.
void DrawMarkerY(DrawingContext& dc, const EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    const PageRecord* page = ctx.doc.findPage(ctx.doc.currentPage);
    if (!zone.marked() || zone.page != ctx.doc.currentPage || page == nullptr || zone.start < 0) return;
    if (zone.startStaff < 0 || zone.startStaff >= static_cast<int>(page->staves.size())) return;
    const auto& elements = page->staves[static_cast<std::size_t>(zone.startStaff)].elements;
    const StaffDrawState* s = PlacedStaff(dc, zone.startStaff);
    if (s == nullptr || zone.start >= static_cast<int>(elements.size())) return;
    const int space = SpaceOf(dc, *s);
    const int x = elements[static_cast<std::size_t>(zone.start)].x;
    Triangle(dc, {x, BottomLine(dc, *s) - space}, space / 2, space, MarkerYColour);
}

// The page marker: a small triangle pointing down at the end of the page's first line, above it.
void DrawPageMarker(DrawingContext& dc, const EditorContext& ctx) {
    const StaffDrawState* s = PlacedStaff(dc, 0);
    if (ctx.shell.cursor.markerPage != ctx.doc.currentPage || s == nullptr) return;
    const int space = SpaceOf(dc, *s);
    Triangle(dc, {s->right, s->topLine + 2 * space}, -space / 2, -space, PageMarkerColour);
}

// The insertion cursor; before a note marked by bit 18 of its note word the second form, an outline one step
// to the left of the note, tells that what is typed next goes to that note.
void DrawCursor(DrawingContext& dc, EditorContext& ctx) {
    const int x = ctx.shell.cursor.x;
    const int staff = PlacedStaffIndex(ctx);
    const ElementRecord* e = ctx.doc.element();
    const bool marked = e != nullptr && !e->isSign() && e->x == x && e->noteWord().bit(18);
    if (!marked) {
        DrawInsertionCursor(dc, ctx.doc, x, staff);
        return;
    }
    const std::optional<Box> box = InsertionCursorBox(dc, ctx.doc, x, staff);
    if (!box) return;
    const int shift = 2 * dc.metrics.stepUnit;
    dc.canvas->setRasterOp(RasterOp::NotXor);
    dc.canvas->drawRect(Zoomed(dc, {box->left - shift, box->bottom, box->right - shift, box->top}),
                        ShapeStyle{Pen{Colour{0}, 0, PenStyle::Solid, PenEnds::Flat}, std::nullopt});
    dc.canvas->setRasterOp(RasterOp::Copy);
}

}  // namespace

void DrawMarkers(DrawingContext& dc, EditorContext& ctx) {
    if (dc.canvas == nullptr || ctx.doc.page() == nullptr) return;
    DrawZoneRectangle(dc, ctx);
    DrawHighlight(dc, ctx);
    DrawMarkerX(dc, ctx);
    DrawMarkerY(dc, ctx);
    DrawPageMarker(dc, ctx);
    DrawCursor(dc, ctx);
}

}  // namespace notavera
