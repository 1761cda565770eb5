// The pages and navigation state a new document starts with.
#include "score/new_document.h"

#include <algorithm>

namespace notavera {

void SetUpNewDocument(ScoreDocument& doc, int pageCount) {
    const int count = std::clamp(pageCount, 1, maxPages);
    doc.pages.clear();
    doc.pages.resize(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        PageRecord& page = doc.pages[static_cast<std::size_t>(n - 1)];
        page.number = static_cast<std::uint32_t>(n);
        // A fresh page has no elements, so it always takes the model.
        ApplyStaffLayoutModel(doc.layoutModel, page);
    }
    doc.pageCount = count;
    doc.header.setPageCount(static_cast<std::uint16_t>(count));
    doc.currentPage = 1;
    doc.currentStaff = 0;
    doc.currentElement = -1;
    doc.stepUnit = std::max(1, static_cast<int>(doc.layoutModel.definition()) / 2);
    doc.spacingStep = doc.stepUnit;
    // A new document has no working file yet: its pages can live nowhere but in memory.
    doc.storage.windowFirst = 1;
    doc.storage.windowLast = count;
    doc.storage.keepBefore = 5;
    doc.modified = false;
}

}  // namespace notavera
