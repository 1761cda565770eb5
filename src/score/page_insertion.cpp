// Inserting a page into the score.
#include "score/page_insertion.h"

#include <algorithm>

#include "score/mus_file.h"

namespace notavera {

bool InsertPageOfScore(ScoreDocument& doc, UiServices& ui, int after, PageRecord page) {
    if (doc.pageCount >= maxPages || after < 1 || after > doc.pageCount) return false;
    const auto at = std::find_if(doc.pages.begin(), doc.pages.end(),
                                 [after](const PageRecord& p) { return p.number == static_cast<std::uint32_t>(after); });
    if (at == doc.pages.end()) return false;
    DocumentStorage& st = doc.storage;
    // What was typed on the pages that move must reach the working file before their numbers change there.
    if (st.working && doc.modified && !SaveToWorkingFile(doc, ui)) return false;

    // The entries of the pages after it move up one place; the new page has no bytes yet and will be written where
    // the data ends.
    PageTable& table = st.pageTable;
    std::copy_backward(table.begin() + after, table.begin() + doc.pageCount, table.begin() + doc.pageCount + 1);
    table[static_cast<std::size_t>(after)] = {0, std::max(doc.header.endOfData(), firstPageOffset)};
    ++doc.pageCount;
    doc.header.setPageCount(static_cast<std::uint16_t>(doc.pageCount));
    ShiftStoredPageNumbers(doc, after + 2, 1);

    const std::size_t place = static_cast<std::size_t>(at - doc.pages.begin()) + 1;
    for (PageRecord& p : doc.pages)
        if (p.number > static_cast<std::uint32_t>(after)) ++p.number;
    page.number = static_cast<std::uint32_t>(after + 1);
    doc.pages.insert(doc.pages.begin() + static_cast<std::ptrdiff_t>(place), std::move(page));
    ++st.windowLast;
    doc.currentPage = after + 1;
    doc.currentStaff = 0;
    doc.currentElement = -1;
    doc.markModified();

    // The window keeps its size: a page too many after its first one makes it slide around the new page (which
    // saves the window first). Otherwise the pages are saved here, so that the file tells the new order at once.
    if (st.windowLast - st.windowFirst > st.keepBefore)
        MoveWindowTo(doc, ui, after + 1);
    else if (st.working)
        SaveToWorkingFile(doc, ui);
    return true;
}

}  // namespace notavera
