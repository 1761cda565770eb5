// A system of many staves drawn smaller, so that one page holds it.
#include "score/staff_size_fit.h"

#include <algorithm>

#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera {

namespace {

// The staff spaces `systems` systems of `staves` staves take from the top of the page to the last staff's bottom line.
unsigned SystemsHeight(unsigned systems, unsigned staves) {
    const unsigned system = (staves - 1) * withinSystem;
    return topDistance + (systems - 1) * (system + betweenSystems) + system + lineCount - 1;
}

// The size at which one more system of a few staves fits, when the page leaves a third of a system's height empty;
// else `definition`.
unsigned SizeForOneMoreSystem(unsigned definition, unsigned room, unsigned staves) {
    // Chamber systems only: a piano's two staves keep their size, and the smallest size a chamber score takes.
    constexpr unsigned fewest = 3, most = 8, shrinkTo = 4;  // at most a fifth smaller
    if (staves < fewest || staves > most) return definition;
    unsigned systems = 0;
    while (SystemsHeight(systems + 1, staves) <= room) ++systems;
    if (systems == 0) return definition;
    const unsigned span = SystemsHeight(2, staves) - SystemsHeight(1, staves);
    if (3 * (room - SystemsHeight(systems, staves)) < span) return definition;
    const unsigned smaller = definition * room / SystemsHeight(systems + 1, staves);
    return 5 * smaller >= shrinkTo * definition ? smaller : definition;
}

}  // namespace

void FitStavesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t staves) {
    // Staff spaces from one staff to the next, and above the first, that leave room for what stands between them.
    constexpr unsigned roomyStaves = 8, topRoom = 14, smallestDefinition = 4;
    StaffLayoutModel& model = doc.layoutModel;
    const unsigned definition = model.definition();
    const int count = static_cast<int>(model.staffCount());
    unsigned room = 0;
    for (int i = 0; i < count; ++i) room += staff_model::Distance::get(model.staffWord(i));
    if (staves < 2 || count == 0 || definition <= smallestDefinition) return;
    const unsigned needed = topRoom + static_cast<unsigned>(staves) * roomyStaves;
    const unsigned height = room + staff_model::LineCount::get(model.staffWord(count - 1)) - 1;
    const unsigned smaller = needed > room ? std::max(smallestDefinition, definition * room / needed)
                                           : SizeForOneMoreSystem(definition, height, static_cast<unsigned>(staves));
    if (smaller >= definition) return;
    for (int i = 0; i < count; ++i) {
        std::uint32_t& w = model.staffWord(i);
        staff_model::Distance::set(w, staff_model::Distance::get(w) * definition / smaller);
    }
    model.setDefinition(smaller);
    doc.stepUnit = std::max(1, static_cast<int>(smaller) / 2);
    page.layoutWord().setStaffSize(smaller);
}

}  // namespace notavera
