// Staff insertion and deletion on the current page.
#include "edit/staff_insertion.h"

#include <algorithm>

#include "platform/ui_services.h"
#include "score/staff_layout_model.h"
#include "score/score_document.h"
#include "platform/messages.h"

namespace notavera {

namespace {

constexpr int maxStavesReached = 56;
constexpr int insertLower = 73;
constexpr int clearFirst = 74;

// The template mirrors the page: its staff words move with the staves.
void InsertTemplateWord(StaffLayoutModel& model, int at, std::uint32_t word) {
    const int count = static_cast<int>(model.staffCount());
    for (int i = std::min(count, StaffLayoutModel::maxStaves - 1); i > at; --i)
        model.staffWord(i) = model.staffWord(i - 1);
    model.staffWord(at) = word;
    model.setStaffCount(static_cast<unsigned>(count + 1));
}

void RemoveTemplateWord(StaffLayoutModel& model, int at) {
    const int count = static_cast<int>(model.staffCount());
    for (int i = at; i + 1 < count; ++i) model.staffWord(i) = model.staffWord(i + 1);
    if (count > 0) model.staffWord(count - 1) = 0;
    model.setStaffCount(static_cast<unsigned>(std::max(count - 1, 1)));
}

// A new staff stands at the distance the model gives the staves after the first (their mean), never at the
// first staff's top margin; a model of one staff gives the default model's.
unsigned FollowingStaffDistance(const StaffLayoutModel& model) {
    const int count = static_cast<int>(model.staffCount());
    if (count < 2) return staff_model::Distance::get(StaffLayoutModel::makeDefault().staffWord(1));
    unsigned sum = 0;
    for (int i = 1; i < count; ++i) sum += staff_model::Distance::get(model.staffWord(i));
    const unsigned n = static_cast<unsigned>(count - 1);
    return (sum + n / 2) / n;
}

unsigned NextFreeVoice(const PageRecord& page) {
    unsigned highest = 0;
    for (const StaffRecord& s : page.staves) highest = std::max(highest, s.voice().voice());
    return std::min(highest + 1, 255u);
}

}  // namespace

bool InsertStaffBelow(ScoreDocument& doc, UiServices& ui, int above) {
    PageRecord* page = doc.page();
    if (!page || page->staves.empty()) return false;
    const int count = static_cast<int>(page->staves.size());
    if (count >= maxStavesPerPage || static_cast<int>(doc.layoutModel.staffCount()) >= maxStavesPerPage) {
        ShowRefusal(ui, maxStavesReached);
        return false;
    }
    if (above < 0) {
        ShowRefusal(ui, insertLower);
        return false;
    }
    above = std::min(above, count - 1);
    StaffRecord fresh;
    fresh.voiceWord = page->staves[static_cast<std::size_t>(above)].voiceWord;
    fresh.keyWord = page->staves[static_cast<std::size_t>(above)].keyWord;
    fresh.lineWord = page->staves[static_cast<std::size_t>(above)].lineWord;
    fresh.voice().setVoice(NextFreeVoice(*page));
    const unsigned distance = FollowingStaffDistance(doc.layoutModel);
    fresh.key().setDistance(distance);
    page->staves.insert(page->staves.begin() + above + 1, std::move(fresh));
    if (static_cast<int>(doc.layoutModel.staffCount()) > above) {
        std::uint32_t word = doc.layoutModel.staffWord(above);
        staff_model::Distance::set(word, distance);
        InsertTemplateWord(doc.layoutModel, above + 1, word);
    }
    for (std::size_t i = 0; i < page->staves.size(); ++i) page->staves[i].key().setIndex(static_cast<unsigned>(i));
    page->layoutWord().setStaffCount(static_cast<unsigned>(page->staves.size()));
    if (doc.currentStaff > above) ++doc.currentStaff;
    doc.markModified();
    ui.invalidate();
    return true;
}

bool DeleteCurrentStaff(ScoreDocument& doc, UiServices& ui) {
    PageRecord* page = doc.page();
    StaffRecord* staff = doc.staff();
    if (!page || !staff || page->staves.size() <= 1) return false;
    if (!staff->elements.empty()) {
        ShowRefusal(ui, clearFirst);
        return false;
    }
    const int index = doc.currentStaff;
    page->staves.erase(page->staves.begin() + index);
    if (static_cast<int>(doc.layoutModel.staffCount()) > index) RemoveTemplateWord(doc.layoutModel, index);
    for (std::size_t i = 0; i < page->staves.size(); ++i) page->staves[i].key().setIndex(static_cast<unsigned>(i));
    page->layoutWord().setStaffCount(static_cast<unsigned>(page->staves.size()));
    doc.currentStaff = std::min(index, static_cast<int>(page->staves.size()) - 1);
    doc.currentElement = -1;
    doc.markModified();
    ui.invalidate();
    return true;
}

}  // namespace notavera
