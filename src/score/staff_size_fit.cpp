// A system of many staves drawn smaller, so that one page holds it.
#include "score/staff_size_fit.h"

#include <algorithm>

#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera {

using namespace system_spacing;

namespace {

// The staff spaces `systems` systems of `staves` staves take from the top of the page to the last staff's bottom line.
unsigned SystemsHeight(unsigned systems, unsigned staves) {
    const unsigned system = (staves - 1) * withinSystem;
    return topDistance + (systems - 1) * (system + betweenSystems) + system + lineCount - 1;
}

// The page's height in staff spaces of the size `size`, the model's distances scaled to it as they will be.
unsigned HeightAtSize(const StaffLayoutModel& model, unsigned size) {
    const int count = static_cast<int>(model.staffCount());
    unsigned height = staff_model::LineCount::get(model.staffWord(count - 1)) - 1;
    for (int i = 0; i < count; ++i) height += staff_model::Distance::get(model.staffWord(i)) * model.definition() / size;
    return height;
}

// The largest size, at most a quarter smaller, at which one more system of a few staves fits, when the page leaves a
// third of a system's height empty; else the model's own size.
unsigned SizeForOneMoreSystem(const StaffLayoutModel& model, unsigned staves) {
    // Chamber systems only: a piano's two staves keep their size.
    constexpr unsigned fewest = 3, most = 8;
    const unsigned definition = model.definition(), room = HeightAtSize(model, definition);
    if (staves < fewest || staves > most) return definition;
    unsigned systems = 0;
    while (SystemsHeight(systems + 1, staves) <= room) ++systems;
    if (systems == 0) return definition;
    const unsigned span = SystemsHeight(2, staves) - SystemsHeight(1, staves);
    if (3 * (room - SystemsHeight(systems, staves)) < span) return definition;
    for (unsigned size = definition - 1; 4 * size >= 3 * definition; --size)
        if (HeightAtSize(model, size) >= SystemsHeight(systems + 1, staves)) return size;
    return definition;
}

}  // namespace

void FitStavesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t staves, bool plainSystems) {
    // Staff spaces from one staff to the next, and above the first, that leave room for what stands between them.
    constexpr unsigned roomyStaves = 8, topRoom = 14, smallestDefinition = 4;
    StaffLayoutModel& model = doc.layoutModel;
    const unsigned definition = model.definition();
    const int count = static_cast<int>(model.staffCount());
    unsigned room = 0;
    for (int i = 0; i < count; ++i) room += staff_model::Distance::get(model.staffWord(i));
    if (staves < 2 || count == 0 || definition <= smallestDefinition) return;
    const unsigned needed = topRoom + static_cast<unsigned>(staves) * roomyStaves;
    const unsigned smaller = needed > room   ? std::max(smallestDefinition, definition * room / needed)
                             : plainSystems ? SizeForOneMoreSystem(model, static_cast<unsigned>(staves))
                                            : definition;
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
