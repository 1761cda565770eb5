// The cursor rules of note entry.
#include "edit/entry_cursor.h"

#include <algorithm>

#include "render/document_spacing.h"
#include "render/entry_distances.h"
#include "render/line_breaks.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;

// The last element at or before x on the current staff, −1 when there is none.
int LastElementAtOrBefore(const StaffRecord& staff, int x) {
    int found = -1;
    for (std::size_t i = 0; i < staff.elements.size() && staff.elements[i].x <= x; ++i) found = static_cast<int>(i);
    return found;
}

}  // namespace

ElementRecord* ElementAtCursor(EditorContext& ctx) {
    ElementRecord* e = ctx.doc.element();
    return e && e->x == ctx.shell.cursor.x ? e : nullptr;
}

ElementRecord* NoteOrRestAtCursor(EditorContext& ctx) {
    ElementRecord* e = ElementAtCursor(ctx);
    return e && !e->isSign() ? e : nullptr;
}

int LastNoteAtOrBeforeCursor(EditorContext& ctx, bool notesOnly) {
    const StaffRecord* staff = ctx.doc.staff();
    if (!staff) return -1;
    for (int i = LastElementAtOrBefore(*staff, ctx.shell.cursor.x); i >= 0; --i) {
        const ElementRecord& e = staff->elements[static_cast<std::size_t>(i)];
        if (!e.isSign() && !(notesOnly && e.isRest())) return i;
    }
    return -1;
}

int LineRightLimit(EditorContext& ctx) {
    const PageRecord* page = ctx.doc.page();
    const StaffRecord* staff = ctx.doc.staff();
    if (!page || !staff) return 0;
    return LeftEdgeOf(*page, *staff) + LineLengthOf(*page);
}

bool MoveToNextLine(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const PageRecord* page = doc.page();
    if (!page || !doc.staff()) return false;
    const LineRange line = BlockOfStaff(*page, doc.currentStaff);
    const int offset = doc.currentStaff - line.first;
    const std::optional<LinePlace> next = FollowingLine(ctx.doc, ctx.ui, LinePlace{doc.currentPage, line}, true);
    if (!next) return false;
    PageRecord* target = doc.findPage(next->page);
    if (!target) return false;
    const int staffIndex = std::min(next->line.first + offset, next->line.last);
    if (staffIndex < 0 || staffIndex >= static_cast<int>(target->staves.size())) return false;
    doc.currentPage = next->page;
    doc.currentStaff = staffIndex;
    const StaffRecord& staff = target->staves[static_cast<std::size_t>(staffIndex)];
    // The line may already begin with its clef and signatures: the cursor goes past them.
    int x = StartColumnOf(*target, staff, doc.stepUnit);
    if (!staff.elements.empty()) x = std::max(x, staff.elements.back().x + DefaultElementSpacing(ctx.doc));
    ctx.shell.cursor.x = x;
    doc.currentElement = LastElementAtOrBefore(staff, x);
    return true;
}

void ShiftElementsAfter(EditorContext& ctx, int from, int dx) {
    StaffRecord* staff = ctx.doc.staff();
    if (!staff || dx == 0) return;
    for (std::size_t i = static_cast<std::size_t>(std::max(from + 1, 0)); i < staff->elements.size(); ++i)
        staff->elements[i].x += dx;
}

void AdvancePastNote(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const ElementRecord* e = doc.element();
    if (!e) return;
    if (!e->isSign() && e->noteWord().bit(chordBit)) return;
    ctx.shell.cursor.x = e->x + CursorAdvanceAfterNote(ctx.doc, *e);
    const StaffRecord* staff = doc.staff();
    const std::size_t next = static_cast<std::size_t>(doc.currentElement) + 1;
    if (!ctx.shell.insertionOpen || next >= staff->elements.size()) return;
    // The box keeps one gap between the cursor and the music that follows it.
    const int overlap = ctx.shell.cursor.x - staff->elements[next].x;
    if (overlap >= 0) ShiftElementsAfter(ctx, doc.currentElement, overlap + InsertionBoxGap(ctx.doc));
}

void AdvancePastSign(EditorContext& ctx, int distance) {
    ScoreDocument& doc = ctx.doc;
    const StaffRecord* staff = doc.staff();
    const ElementRecord* e = doc.element();
    if (!staff || !e) return;
    const std::size_t next = static_cast<std::size_t>(doc.currentElement) + 1;
    if (next < staff->elements.size()) {
        doc.currentElement = static_cast<int>(next);
        ctx.shell.cursor.x = staff->elements[next].x;
    } else {
        ctx.shell.cursor.x = e->x + distance;
    }
}

}  // namespace notavera
