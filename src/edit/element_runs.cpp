// Inserting lifted elements at the cursor, keeping their distances.
#include "edit/element_runs.h"

#include <algorithm>
#include <climits>

#include "render/entry_distances.h"

namespace notavera {

int InsertRunsAt(ScoreDocument& doc, const ElementRuns& runs, int x) {
    PageRecord* page = doc.page();
    int left = INT_MAX;
    int right = INT_MIN;
    for (const StaffRun& run : runs)
        for (const ElementRecord& e : run.elements) {
            left = std::min(left, e.x);
            right = std::max(right, e.x);
        }
    if (page == nullptr || left > right) return x;
    // The music after the cursor makes room for the stretch and one element's space after it.
    const int room = right - left + DefaultElementSpacing(doc);
    for (const StaffRun& run : runs) {
        const int index = doc.currentStaff + run.staffOffset;
        if (run.elements.empty() || index < 0 || index >= static_cast<int>(page->staves.size())) continue;
        auto& elements = page->staves[static_cast<std::size_t>(index)].elements;
        const auto at =
            std::find_if(elements.begin(), elements.end(), [x](const ElementRecord& e) { return e.x >= x; });
        for (auto it = at; it != elements.end(); ++it) it->x += room;
        std::vector<ElementRecord> copies = run.elements;
        for (ElementRecord& e : copies) e.x = x + (e.x - left);
        elements.insert(at, copies.begin(), copies.end());
    }
    doc.markModified();
    return x + room;
}

}  // namespace notavera
