// The default staff-layout model and its application to a page.
#include "score/staff_layout_model.h"

#include <algorithm>

#include "score/records.h"

namespace notavera {

StaffLayoutModel StaffLayoutModel::makeDefault() {
    StaffLayoutModel m;
    m.setStaffCount(10);
    m.setDefinition(20);
    m.setIndentMm(0);
    m.setLineLengthMm(190);
    for (int i = 0; i < 10; ++i) {
        std::uint32_t& w = m.staffWord(i);
        staff_model::Distance::set(w, i == 0 ? 10 : 13);
        staff_model::SystemGrouping::set(w, 3);  // each staff a system of its own
        staff_model::LineCount::set(w, 5);
    }
    return m;
}

// Copies the model's word for one staff into the staff's stored words. The staff's index, voice
// and every bit the model does not own are kept.
static void applyStaffWord(std::uint32_t w, StaffRecord& staff) {
    auto key = staff.key();
    key.setDistance(staff_model::Distance::get(w));
    key.setSystemGrouping(staff_model::SystemGrouping::get(w));
    key.setBlockGrouping(staff_model::BlockGrouping::get(w));
    key.setSmall(staff_model::Small::get(w));
    key.setIndented(staff_model::Indented::get(w));
    key.setGrey(staff_model::Grey::get(w));
    key.setInvisible(staff_model::Invisible::get(w));
    auto lines = staff.lines();
    lines.setLayoutFlag(staff_model::LayoutFlag::get(w));
    lines.setLineCount(staff_model::LineCount::get(w));
    lines.setBrace(staff_model::Brace::get(w));
    lines.setAccessory(staff_model::Accessory::get(w));
}

// Every staff learns its position in its system (from 1) and the system's size. A system runs from a
// staff marked 1 to the next staff marked 2 (or up to the staff before the next start, or the page's end);
// a staff marked 3, or left outside every system, is a system of its own.
static void numberSystems(PageRecord& page) {
    const int n = static_cast<int>(page.staves.size());
    auto setSystem = [&page](int first, int last) {
        for (int j = first; j <= last; ++j) {
            page.staves[j].voice().setPositionInGroup(static_cast<unsigned>(j - first + 1));
            page.staves[j].voice().setGroupSize(static_cast<unsigned>(last - first + 1));
        }
    };
    int open = -1;  // first staff of the system being read, −1 outside a system
    for (int i = 0; i < n; ++i) {
        const unsigned g = page.staves[i].key().systemGrouping();
        if (open >= 0 && (g == 1 || g == 3)) {
            setSystem(open, i - 1);
            open = -1;
        }
        if (g == 1) {
            open = i;
        } else if (g == 2 && open >= 0) {
            setSystem(open, i);
            open = -1;
        } else if (open < 0) {
            setSystem(i, i);
        }
    }
    if (open >= 0) setSystem(open, n - 1);
}

bool ApplyStaffLayoutModel(const StaffLayoutModel& model, PageRecord& page) {
    const int count = std::clamp(static_cast<int>(model.staffCount()), 1, StaffLayoutModel::maxStaves);
    for (std::size_t i = count; i < page.staves.size(); ++i)
        if (!page.staves[i].elements.empty()) return false;

    const std::size_t before = page.staves.size();
    page.staves.resize(count);
    for (int i = 0; i < count; ++i) {
        StaffRecord& s = page.staves[i];
        s.key().setIndex(static_cast<unsigned>(i));
        applyStaffWord(model.staffWord(i), s);
    }
    numberSystems(page);
    // A new staff plays the voice of its place in its system: the same staff of every system is one voice, so
    // that a line's music goes on in the next system, and ten single staves hold one melody.
    for (std::size_t i = before; i < page.staves.size(); ++i)
        page.staves[i].voice().setVoice(page.staves[i].voice().positionInGroup());

    auto layout = page.layoutWord();
    layout.setStaffCount(static_cast<unsigned>(count));
    layout.setStaffSize(model.definition());
    page.indent = (model.indentMm() * 10) & 0xFFFFFF;
    if (layout.continuousCount() == 0) page.lineLength = (model.lineLengthMm() * 10) & 0xFFFFFF;
    return true;
}

}  // namespace notavera
