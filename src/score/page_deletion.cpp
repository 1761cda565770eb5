// Deleting a page of the score.
#include "score/page_deletion.h"

#include <algorithm>

#include "score/mus_file.h"

namespace notavera {

bool DeletePageOfScore(ScoreDocument& doc, UiServices& ui, int number) {
    if (number < 1 || number > doc.pageCount || doc.pageCount < 2) return false;
    DocumentStorage& st = doc.storage;
    // What was typed on the pages that stay must reach the working file before their numbers move there.
    if (st.working && doc.modified && !SaveToWorkingFile(doc, ui)) return false;
    const int neighbour = number == doc.pageCount ? number - 1 : number + 1;
    if (doc.findPage(neighbour) == nullptr && MoveWindowTo(doc, ui, neighbour) != FileOk) return false;

    std::erase_if(doc.pages, [number](const PageRecord& p) { return p.number == static_cast<std::uint32_t>(number); });
    if (number < st.windowFirst) {
        --st.windowFirst;
        --st.windowLast;
    } else if (number <= st.windowLast) {
        --st.windowLast;
    }
    RemovePageNumber(doc, number);
    doc.currentPage = neighbour > number ? neighbour - 1 : neighbour;
    doc.currentStaff = 0;
    doc.currentElement = -1;
    if (st.working) WriteHeader(doc, ui);
    doc.markModified();
    return true;
}

}  // namespace notavera
