// The cursor rules of note entry.
#include "shell/entry_cursor.h"

#include <algorithm>

#include "edit/entry_place.h"
#include "render/document_spacing.h"
#include "render/entry_distances.h"
#include "render/line_breaks.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;
constexpr int boundContext = 20;

}  // namespace

ElementRecord* ElementAtCursor(EditorContext& ctx) { return ElementAtX(ctx.doc, ctx.shell.cursor.x); }

ElementRecord* NoteOrRestAtCursor(EditorContext& ctx) { return NoteOrRestAtX(ctx.doc, ctx.shell.cursor.x); }

int LastNoteAtOrBeforeCursor(EditorContext& ctx, bool notesOnly) {
    return LastNoteAtOrBeforeX(ctx.doc, ctx.shell.cursor.x, notesOnly);
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

void AdvancePastNote(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const ElementRecord* e = doc.element();
    if (!e) return;
    if (!e->isSign() && e->noteWord().bit(chordBit)) return;
    ctx.shell.cursor.x = e->x + CursorAdvanceAfterNote(ctx.doc, *e);
    const StaffRecord* staff = doc.staff();
    const std::size_t next = static_cast<std::size_t>(doc.currentElement) + 1;
    // The box keeps one gap between the cursor and the music that follows it.
    if (ctx.shell.input.insertionOpen && next < staff->elements.size()) {
        const int overlap = ctx.shell.cursor.x - staff->elements[next].x;
        if (overlap >= 0) ShiftElementsAfter(doc, doc.currentElement, overlap + InsertionBoxGap(ctx.doc));
    }
    // A note typed among others: the cursor lands on or between the elements after it, and the element it
    // lands on is the one the next key acts on.
    SnapToElement(doc, ctx.shell.cursor.x, false);
}

int EntryCursorX(ScoreDocument& doc) {
    const ElementRecord* e = doc.element();
    const StaffRecord* staff = doc.staff();
    if (!e || !staff) return doc.defaultFirstX;
    if (doc.currentElement + 1 < static_cast<int>(staff->elements.size())) return e->x;
    // On the staff's last element, entry goes on after it instead of stacking onto it.
    return e->x + (e->isSign() ? DefaultElementSpacing(doc) : CursorAdvanceAfterNote(doc, *e));
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

void ToggleInsertionBox(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if ((doc.insertion.switches & (SwitchSlur | SwitchBeam | SwitchL)) != 0) {
        ShowRefusal(ctx.ui, boundContext);
        return;
    }
    StaffRecord* staff = doc.staff();
    bool& open = ctx.shell.input.insertionOpen;
    open = !open;
    ctx.ui.invalidate();
    if (!staff) return;
    // The first element at or after the cursor and everything after it make room, or take the room back.
    int first = -1;
    for (std::size_t i = 0; i < staff->elements.size(); ++i) {
        if (staff->elements[i].x >= ctx.shell.cursor.x) {
            first = static_cast<int>(i);
            break;
        }
    }
    if (first < 0) return;
    const int gap = open ? InsertionBoxGap(ctx.doc) : ctx.shell.cursor.x - staff->elements[first].x;
    ShiftElementsAfter(doc, first - 1, gap);
    doc.markModified();
}

}  // namespace notavera
