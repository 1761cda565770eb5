// Slurs entered with ( and ): the curve flags of word0 on their first and last notes, as the drawing pairs them.
#include "edit/slur_entry.h"

#include "edit/entry_cursor.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int useFreeSlur = 18;
// A curve starts on a note with bits 1 and 2 of word0 and ends on one with bits 1 and 3.
constexpr std::uint32_t curveStartBits = (1u << 1) | (1u << 2);

void MarkStart(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieStarts(true);
}

void MarkEnd(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieEnds(true);
}

bool Starts(const ElementRecord& e) { return e.isNote() && e.w0().tiedToNext() && e.w0().tieStarts(); }
bool Ends(const ElementRecord& e) { return e.isNote() && e.w0().tiedToNext() && e.w0().tieEnds(); }

// The start still waiting for its end before element `end`, read the way the drawing reads it: each end closes
// the start before it. −1 when the staff has none.
int PendingStartBefore(const StaffRecord& staff, int end) {
    int pending = -1;
    for (int i = 0; i < end; ++i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (Ends(e)) pending = -1;
        if (Starts(e)) pending = i;
    }
    return pending;
}

// A start on an earlier line holds when it was made in this staff's voice on a line before this one.
bool StartOnEarlierLine(EditorContext& ctx) {
    const auto& start = ctx.shell.input.slurStart;
    ScoreDocument& doc = ctx.doc;
    const bool earlier =
        start.page < doc.currentPage || (start.page == doc.currentPage && start.staff < doc.currentStaff);
    return earlier && doc.staff()->voice().voice() == start.voice;
}

// The note the open slur can end on, −1 when it cannot end here.
int SlurEnd(EditorContext& ctx) {
    const InsertionState& ins = ctx.doc.insertion;
    if ((ins.switches & SwitchSlur) == 0 || (ins.word0Once & curveStartBits) != 0 || !ctx.doc.staff()) return -1;
    const int end = LastNoteAtOrBeforeCursor(ctx, true);
    if (end < 0) return -1;
    const StaffRecord& staff = *ctx.doc.staff();
    const ElementRecord& last = staff.elements[static_cast<std::size_t>(end)];
    const int start = PendingStartBefore(staff, end);
    if (start >= 0) return staff.elements[static_cast<std::size_t>(start)].x < last.x ? end : -1;
    // A start on this very note (or chord) is not a slur yet.
    if (Starts(last)) return -1;
    return StartOnEarlierLine(ctx) ? end : -1;
}

}  // namespace

void OpenSlur(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    InsertionState& ins = doc.insertion;
    if (ctx.shell.input.zSymbolMode != 0 || !doc.staff() || (ins.switches & SwitchSlur) != 0) return;
    ins.switches |= SwitchSlur;
    ctx.shell.input.slurStart = {doc.currentPage, doc.currentStaff, doc.staff()->voice().voice()};
    ElementRecord* e = NoteOrRestAtCursor(ctx);
    if (e && e->isNote()) {
        MarkStart(*e);
        doc.markModified();
        ctx.ui.invalidate();
        return;
    }
    ins.word0Once |= curveStartBits;
}

void CloseSlur(EditorContext& ctx) {
    const int end = SlurEnd(ctx);
    if (end < 0) {
        ShowRefusal(ctx.ui, useFreeSlur);
        return;
    }
    ScoreDocument& doc = ctx.doc;
    MarkEnd(doc.staff()->elements[static_cast<std::size_t>(end)]);
    doc.insertion.switches &= ~SwitchSlur;
    doc.markModified();
    ctx.ui.invalidate();
}

void RegisterSlurCharacters(CommandRegistry& registry) {
    registry.addChar('(', [](EditorContext& ctx, int) { OpenSlur(ctx); });
    registry.addChar(')', [](EditorContext& ctx, int) { CloseSlur(ctx); });
}

}  // namespace notavera
