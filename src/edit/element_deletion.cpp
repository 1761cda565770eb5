// Delete at the cursor.
#include "edit/element_deletion.h"

#include "edit/entry_place.h"
#include "platform/ui_services.h"
#include "platform/messages.h"

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

ElementRecord RemoveCurrent(ScoreDocument& doc, UiServices& ui, bool closeUp) {
    StaffRecord& staff = *doc.staff();
    const auto index = static_cast<std::size_t>(doc.currentElement);
    ElementRecord removed = std::move(staff.elements[index]);
    const int x = removed.x;
    staff.elements.erase(staff.elements.begin() + static_cast<std::ptrdiff_t>(index));
    // Closing up: the music after the deleted note moves left by the room the note took, unless another
    // element (a chord note) still stands at its place.
    if (closeUp && index < staff.elements.size()) {
        const bool sharedPlace = (index > 0 && staff.elements[index - 1].x == x) || staff.elements[index].x == x;
        if (!sharedPlace) ShiftElementsAfter(doc, static_cast<int>(index) - 1, x - staff.elements[index].x);
    }
    if (index < staff.elements.size()) {
        doc.currentElement = static_cast<int>(index);
    } else {
        doc.currentElement = static_cast<int>(staff.elements.size()) - 1;
    }
    doc.markModified();
    ui.invalidate();
    return removed;
}

}  // namespace

std::optional<ElementRecord> DeleteAtCursor(ScoreDocument& doc, UiServices& ui) {
    if (SlurOrLContextOpen(doc.insertion)) {
        ShowRefusal(ui, boundContext);
        return std::nullopt;
    }
    const ElementRecord* e = doc.element();
    if (!e) return std::nullopt;
    if (e->isSign()) return RemoveCurrent(doc, ui, false);
    if (NoteRefusesDeletion(*e)) {
        ShowRefusal(ui, removeTieOrGroupFirst);
        return std::nullopt;
    }
    ElementRecord removed = RemoveCurrent(doc, ui, true);
    if ((doc.insertion.switches & SwitchBeam) == 0) doc.insertion.word0Flags &= ~(1u << 5);
    return removed;
}

}  // namespace notavera
