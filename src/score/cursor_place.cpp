// Reading, setting and keeping the document's current place.
#include "score/cursor_place.h"

#include "score/mus_file.h"

namespace notavera {

CursorPlace CurrentPlace(const ScoreDocument& doc) { return {doc.currentPage, doc.currentStaff, doc.currentElement}; }

void SetCurrentPlace(ScoreDocument& doc, const CursorPlace& place) {
    doc.currentPage = place.page;
    doc.currentStaff = place.staff;
    doc.currentElement = place.element;
}

KeepCursor::~KeepCursor() {
    if (ui_ && saved_.page >= 1 && !doc_.findPage(saved_.page)) MoveWindowTo(doc_, *ui_, saved_.page);
    SetCurrentPlace(doc_, saved_);
}

}  // namespace notavera
