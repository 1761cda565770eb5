// Slurs: the curve flags of word0 on their first and last notes, as the drawing pairs them.
#include "edit/slur_entry.h"

#include "edit/entry_place.h"
#include "platform/ui_services.h"
#include "score/score_document.h"
#include "platform/messages.h"

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
bool StartOnEarlierLine(ScoreDocument& doc, const SlurStart& start) {
    const bool earlier =
        start.page < doc.currentPage || (start.page == doc.currentPage && start.staff < doc.currentStaff);
    return earlier && doc.staff()->voice().voice() == start.voice;
}

// The note the open slur can end on, −1 when it cannot end here.
int SlurEnd(ScoreDocument& doc, int x, const SlurStart& slurStart) {
    const InsertionState& ins = doc.insertion;
    if ((ins.switches & SwitchSlur) == 0 || (ins.word0Once & curveStartBits) != 0 || !doc.staff()) return -1;
    const int end = LastNoteAtOrBeforeX(doc, x, true);
    if (end < 0) return -1;
    const StaffRecord& staff = *doc.staff();
    const ElementRecord& last = staff.elements[static_cast<std::size_t>(end)];
    const int start = PendingStartBefore(staff, end);
    if (start >= 0) return staff.elements[static_cast<std::size_t>(start)].x < last.x ? end : -1;
    // A start on this very note (or chord) is not a slur yet.
    if (Starts(last)) return -1;
    return StartOnEarlierLine(doc, slurStart) ? end : -1;
}

}  // namespace

std::optional<SlurStart> OpenSlur(ScoreDocument& doc, int x) {
    InsertionState& ins = doc.insertion;
    if (!doc.staff() || (ins.switches & SwitchSlur) != 0) return std::nullopt;
    ins.switches |= SwitchSlur;
    const SlurStart start{doc.currentPage, doc.currentStaff, doc.staff()->voice().voice()};
    ElementRecord* e = NoteOrRestAtX(doc, x);
    if (e && e->isNote()) {
        MarkStart(*e);
        doc.markModified();
    } else {
        ins.word0Once |= curveStartBits;
    }
    return start;
}

void CloseSlur(ScoreDocument& doc, UiServices& ui, int x, const SlurStart& start) {
    const int end = SlurEnd(doc, x, start);
    if (end < 0) {
        ShowRefusal(ui, useFreeSlur);
        return;
    }
    MarkEnd(doc.staff()->elements[static_cast<std::size_t>(end)]);
    doc.insertion.switches &= ~SwitchSlur;
    doc.markModified();
    ui.invalidate();
}

}  // namespace notavera
