// A system of many staves drawn smaller, so that one page holds it.
#include "score/staff_size_fit.h"

#include <algorithm>

#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera {

void FitStavesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t staves) {
    // Staff spaces from one staff to the next, and above the first, that leave room for what stands between them.
    constexpr unsigned roomyStaves = 8, topRoom = 14, smallestDefinition = 4;
    StaffLayoutModel& model = doc.layoutModel;
    const unsigned definition = model.definition();
    const int count = static_cast<int>(model.staffCount());
    unsigned room = 0;
    for (int i = 0; i < count; ++i) room += staff_model::Distance::get(model.staffWord(i));
    const unsigned needed = topRoom + static_cast<unsigned>(staves) * roomyStaves;
    if (staves < 2 || count == 0 || needed <= room || definition <= smallestDefinition) return;
    const unsigned smaller = std::max(smallestDefinition, definition * room / needed);
    for (int i = 0; i < count; ++i) {
        std::uint32_t& w = model.staffWord(i);
        staff_model::Distance::set(w, staff_model::Distance::get(w) * definition / smaller);
    }
    model.setDefinition(smaller);
    doc.stepUnit = std::max(1, static_cast<int>(smaller) / 2);
    page.layoutWord().setStaffSize(smaller);
}

}  // namespace notavera
