// Delete and Insert at the cursor.
#include "edit/element_deletion.h"

#include "edit/entry_cursor.h"
#include "render/entry_distances.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int boundContext = 20;
constexpr int removeTieOrGroupFirst = 19;

bool SlurOrLContextOpen(const InsertionState& ins) { return (ins.switches & (SwitchSlur | SwitchL)) != 0; }

// A note in the middle of a tie chain holds both ends; a note of a tuplet has a proportion other than n/n.
bool NoteRefusesDeletion(const ElementRecord& e) {
    if (e.isNote() && e.w0().tieStarts() && e.w0().tieEnds()) return true;
    return e.w1().numerator() != e.w1().denominator();
}

void RemoveCurrent(EditorContext& ctx, bool closeUp) {
    ScoreDocument& doc = ctx.doc;
    StaffRecord& staff = *doc.staff();
    const auto index = static_cast<std::size_t>(doc.currentElement);
    const int x = staff.elements[index].x;
    staff.elements.erase(staff.elements.begin() + static_cast<std::ptrdiff_t>(index));
    // Closing up: the music after the deleted note moves left by the room the note took, unless another
    // element (a chord note) still stands at its place.
    if (closeUp && index < staff.elements.size()) {
        const bool sharedPlace = (index > 0 && staff.elements[index - 1].x == x) || staff.elements[index].x == x;
        if (!sharedPlace) ShiftElementsAfter(ctx, static_cast<int>(index) - 1, x - staff.elements[index].x);
    }
    if (index < staff.elements.size()) {
        doc.currentElement = static_cast<int>(index);
    } else {
        doc.currentElement = static_cast<int>(staff.elements.size()) - 1;
    }
    doc.markModified();
    ctx.ui.invalidate();
}

}  // namespace

void DeleteAtCursor(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (SlurOrLContextOpen(doc.insertion)) {
        ShowRefusal(ctx.ui, boundContext);
        return;
    }
    const ElementRecord* e = doc.element();
    if (!e) return;
    if (e->isSign()) {
        RemoveCurrent(ctx, false);
        return;
    }
    if (NoteRefusesDeletion(*e)) {
        ShowRefusal(ctx.ui, removeTieOrGroupFirst);
        return;
    }
    RemoveCurrent(ctx, true);
    if ((doc.insertion.switches & SwitchBeam) == 0) doc.insertion.word0Flags &= ~(1u << 5);
}

void ToggleInsertionBox(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if ((doc.insertion.switches & (SwitchSlur | SwitchBeam | SwitchL)) != 0) {
        ShowRefusal(ctx.ui, boundContext);
        return;
    }
    StaffRecord* staff = doc.staff();
    ctx.shell.insertionOpen = !ctx.shell.insertionOpen;
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
    const int gap = ctx.shell.insertionOpen ? InsertionBoxGap(ctx.doc) : ctx.shell.cursor.x - staff->elements[first].x;
    ShiftElementsAfter(ctx, first - 1, gap);
    doc.markModified();
}

}  // namespace notavera
