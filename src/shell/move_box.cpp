// The move box: sizing, region marking and the drag of the enclosed elements.
#include "shell/move_box.h"

#include <algorithm>

#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

Box Normalised(Point a, Point b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool Contains(const Box& box, Point p) {
    return p.x >= box.left && p.x <= box.right && p.y >= box.bottom && p.y <= box.top;
}

// A staff lies in the box when its middle line does (the reference height lies three half-staves above it).
bool StaffInBox(const CursorFrame& f, std::size_t staff, const Box& box) {
    const int middle = static_cast<int>(f.staffY[staff]) - f.staffHeight * 3 / 2;
    return middle >= box.bottom && middle <= box.top;
}

// The first and last element of a staff whose x lies within the box's sides.
std::optional<std::pair<int, int>> ElementsWithin(const StaffRecord& staff, const Box& box) {
    int first = -1, last = -1;
    for (std::size_t i = 0; i < staff.elements.size(); ++i) {
        const int x = staff.elements[i].x;
        if (x < box.left || x > box.right) continue;
        if (first < 0) first = static_cast<int>(i);
        last = static_cast<int>(i);
    }
    if (first < 0) return std::nullopt;
    return std::pair{first, last};
}

// The zone runs from the first enclosed element of the box's upper staff to the last one of its lower staff.
void MarkZone(EditorContext& ctx, const Box& box) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const PageRecord* page = ctx.doc.page();
    if (!f || page == nullptr) return;
    ZoneRecord zone;
    for (std::size_t i = 0; i < page->staves.size() && i < f->staffY.size(); ++i) {
        const auto within = StaffInBox(*f, i, box) ? ElementsWithin(page->staves[i], box) : std::nullopt;
        if (!within) continue;
        if (!zone.marked()) {
            zone.page = ctx.doc.currentPage;
            zone.startStaff = static_cast<int>(i);
            zone.start = within->first;
        }
        zone.lastStaff = static_cast<int>(i);
        zone.last = within->second;
    }
    if (!zone.marked()) {
        ctx.ui.beep();
        return;
    }
    zone.xLimit = box.right;
    CursorState& c = ctx.shell.cursor;
    c.zone = zone;
    c.zoneRect = {box.left, box.bottom, box.right, box.top, true};
    ctx.ui.invalidate();
}

// The enclosed elements of the current staff move by dx (never before the page's edge); the staff stays in x
// order and the cursor stays on the first element moved. Returns the distance they moved.
int MoveEnclosed(EditorContext& ctx, const Box& box, int dx) {
    StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr || dx == 0) return 0;
    const auto within = ElementsWithin(*staff, box);
    if (!within) return 0;
    auto& els = staff->elements;
    const auto begin = els.begin() + within->first, end = els.begin() + within->second + 1;
    dx = std::max(dx, -begin->x);
    for (auto it = begin; it != end; ++it) it->x += dx;
    const ElementRecord moved = *begin;
    std::stable_sort(els.begin(), els.end(), [](const ElementRecord& a, const ElementRecord& b) { return a.x < b.x; });
    const auto at = std::find(els.begin(), els.end(), moved);
    ctx.doc.currentElement = static_cast<int>(at - els.begin());
    ctx.shell.cursor.x = moved.x;
    ctx.doc.markModified();
    ctx.ui.invalidate();
    return dx;
}

}  // namespace

void StartMoveBox(EditorContext& ctx, std::optional<Point> firstCorner) {
    MoveBox& box = ctx.shell.mouse.box;
    box = MoveBox{};
    box.running = true;
    if (firstCorner) {
        box.corner = *firstCorner;
        box.clicks = 1;
    }
    ctx.ui.beginMouseCapture();
}

void MoveBoxPress(EditorContext& ctx, Point at) {
    MoveBox& box = ctx.shell.mouse.box;
    if (!box.running) return;
    if (box.clicks == 0) {
        box.corner = at;
        box.clicks = 1;
        return;
    }
    if (box.clicks == 1) {
        box.rect = Normalised(box.corner, at);
        box.clicks = 2;
        ctx.ui.invalidate();
        if (!ctx.shell.cursor.regionMarking) return;
        // Marking a region needs no drag: the sized box is the region.
        MarkZone(ctx, box.rect);
        ctx.shell.cursor.regionMarking = false;
        EndMoveBox(ctx);
        return;
    }
    box.dragging = Contains(box.rect, at);
    box.dragFrom = at;
}

void MoveBoxRelease(EditorContext& ctx, Point at) {
    MoveBox& box = ctx.shell.mouse.box;
    if (!box.running || !box.dragging) return;
    box.dragging = false;
    const CommandScope scope(ctx, UndoPolicy::Typing);
    const int dx = MoveEnclosed(ctx, box.rect, at.x - box.dragFrom.x);
    box.rect.left += dx;
    box.rect.right += dx;
}

void EndMoveBox(EditorContext& ctx) {
    MoveBox& box = ctx.shell.mouse.box;
    if (!box.running) return;
    box = MoveBox{};
    ctx.ui.endMouseMode();
    ctx.ui.invalidate();
}

Point HandleAtCursor(EditorContext& ctx) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const auto staff = static_cast<std::size_t>(std::max(ctx.doc.currentStaff, 0));
    if (!f || staff >= f->staffY.size()) return {ctx.shell.cursor.x, 0};
    return {ctx.shell.cursor.x, static_cast<int>(f->staffY[staff]) - f->staffHeight * 3 / 2};
}

std::optional<Point> HandleStepOfKey(EditorContext& ctx, int key, bool staffSteps) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int across = std::max(ctx.doc.spacingStep, 1);
    const int half = f ? std::max(f->halfSpace, 1) : 1;
    const int staffHeight = f ? std::max(f->staffHeight, 1) : 1;
    switch (static_cast<Key>(key)) {
    case Key::Left: return Point{-across, 0};
    case Key::Right: return Point{across, 0};
    case Key::CtrlLeft: return Point{-1, 0};
    case Key::CtrlRight: return Point{1, 0};
    case Key::Up: return Point{0, half};
    case Key::Down: return Point{0, -half};
    case Key::PageUp: return staffSteps ? std::optional(Point{0, staffHeight}) : std::nullopt;
    case Key::PageDown: return staffSteps ? std::optional(Point{0, -staffHeight}) : std::nullopt;
    default: return std::nullopt;
    }
}


bool SteerMoveBox(EditorContext& ctx, int key) {
    MoveBox& box = ctx.shell.mouse.box;
    if (!box.running || key == static_cast<int>(Key::Escape)) return false;
    if (!box.handleSet) {
        box.handle = HandleAtCursor(ctx);
        box.handleSet = true;
    }
    if (key == static_cast<int>(Key::Enter)) {
        const CommandScope scope(ctx, UndoPolicy::None);
        if (box.clicks < 2) MoveBoxPress(ctx, box.handle);
        else EndMoveBox(ctx);
        return true;
    }
    const std::optional<Point> step = HandleStepOfKey(ctx, key, true);
    if (!step) return true;
    if (box.clicks == 2) {
        // A sized box drags what it encloses sideways; it stays on its staves.
        const CommandScope scope(ctx, UndoPolicy::Typing);
        const int dx = MoveEnclosed(ctx, box.rect, step->x);
        box.rect.left += dx;
        box.rect.right += dx;
        box.handle.x += dx;
        return true;
    }
    const CommandScope scope(ctx, UndoPolicy::None);
    box.handle.x = std::max(box.handle.x + step->x, 0);
    box.handle.y += step->y;
    ctx.ui.invalidate();
    return true;
}

void RegisterMoveBoxCharacter(CommandRegistry& registry) {
    registry.addChar('#', [](EditorContext& ctx, int) { StartMoveBox(ctx, std::nullopt); });
}

}  // namespace notavera
