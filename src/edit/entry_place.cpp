// The current staff's elements around the x note entry works at.
#include "edit/entry_place.h"

#include <algorithm>

#include "render/document_spacing.h"

namespace notavera {

ElementRecord* ElementAtX(ScoreDocument& doc, int x) {
    ElementRecord* e = doc.element();
    return e && e->x == x ? e : nullptr;
}

ElementRecord* NoteOrRestAtX(ScoreDocument& doc, int x) {
    ElementRecord* e = ElementAtX(doc, x);
    return e && !e->isSign() ? e : nullptr;
}

int LastElementAtOrBefore(const StaffRecord& staff, int x) {
    int found = -1;
    for (std::size_t i = 0; i < staff.elements.size() && staff.elements[i].x <= x; ++i) found = static_cast<int>(i);
    return found;
}

void MakeNeighbourOfXCurrent(ScoreDocument& doc, int x) {
    const StaffRecord* staff = doc.staff();
    if (!staff || staff->elements.empty()) return;
    const int n = static_cast<int>(staff->elements.size());
    const int cur = doc.currentElement;
    const auto xOf = [&](int i) { return staff->elements[static_cast<std::size_t>(i)].x; };
    const bool known = cur >= 0 && cur < n;
    if (known && !(cur + 1 < n && x > xOf(cur + 1)) && !(cur > 0 && x < xOf(cur - 1))) return;
    doc.currentElement = std::max(LastElementAtOrBefore(*staff, x), 0);
}

int LastNoteAtOrBeforeX(ScoreDocument& doc, int x, bool notesOnly) {
    const StaffRecord* staff = doc.staff();
    if (!staff) return -1;
    for (int i = LastElementAtOrBefore(*staff, x); i >= 0; --i) {
        const ElementRecord& e = staff->elements[static_cast<std::size_t>(i)];
        if (!e.isSign() && !(notesOnly && e.isRest())) return i;
    }
    return -1;
}

int LineRightLimit(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    const StaffRecord* staff = doc.staff();
    if (!page || !staff) return 0;
    return LeftEdgeOf(*page, *staff) + doc.lineEnd(*page);
}

void ShiftElementsAfter(ScoreDocument& doc, int from, int dx) {
    StaffRecord* staff = doc.staff();
    if (!staff || dx == 0) return;
    for (std::size_t i = static_cast<std::size_t>(std::max(from + 1, 0)); i < staff->elements.size(); ++i)
        staff->elements[i].x += dx;
}

}  // namespace notavera
