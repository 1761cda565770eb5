// Building small test scores on a new document.
#include "support/score_builder.h"

#include <stdexcept>

#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"

namespace notavera::test {

ScoreBuilder::ScoreBuilder(int pages, int staves, int systemSize) {
    StaffLayoutModel& model = ctx_.doc.layoutModel;
    model.setStaffCount(static_cast<unsigned>(staves));
    for (int i = 0; i < staves; ++i) {
        std::uint32_t& w = model.staffWord(i);
        const int pos = i % systemSize;
        const bool last = pos == systemSize - 1 || i == staves - 1;
        staff_model::Distance::set(w, 13);
        staff_model::LineCount::set(w, 5);
        staff_model::SystemGrouping::set(w, systemSize == 1 ? 3u : pos == 0 ? 1u : last ? 2u : 0u);
    }
    SetUpNewDocument(ctx_.doc, pages);
    for (auto& page : ctx_.doc.pages)
        for (auto& s : page.staves) s.voice().setVoice(s.voice().positionInGroup());
}

ScoreBuilder& ScoreBuilder::on(int page, int staff) {
    setCurrent(page, staff);
    const StaffRecord* s = doc().staff();
    if (!s) throw std::out_of_range("no such staff");
    doc().currentElement = static_cast<int>(s->elements.size()) - 1;
    return *this;
}

ElementRecord& ScoreBuilder::note(int x, unsigned name, unsigned code, unsigned dots, unsigned octave) {
    doc().insertion.durationCode = code;
    doc().insertion.dots = dots;
    doc().insertion.octave = octave;
    ElementRecord* e = CreateNoteOrRest(doc(), x, false, name);
    if (!e) throw std::logic_error("note not created");
    return *e;
}

ElementRecord& ScoreBuilder::rest(int x, unsigned code, unsigned dots) {
    doc().insertion.durationCode = code;
    doc().insertion.dots = dots;
    ElementRecord* e = CreateNoteOrRest(doc(), x, true, 0);
    if (!e) throw std::logic_error("rest not created");
    return *e;
}

ElementRecord& ScoreBuilder::meter(int x, unsigned numerator, unsigned denominator) {
    doc().insertion.timeSigNum = numerator;
    doc().insertion.timeSigDen = denominator;
    constexpr int numericDisplay = 1;  // drawn as n/d
    ElementRecord* e = CreateSign(doc(), x, 0, numericDisplay, SignType::TimeSignature, 0);
    if (!e) throw std::logic_error("meter not created");
    return *e;
}

ElementRecord& ScoreBuilder::bar(int x) {
    ElementRecord* e = CreateSign(doc(), x, 0, '|', SignType::Bar, 0);
    if (!e) throw std::logic_error("bar not created");
    return *e;
}

void ScoreBuilder::notes(int x, int step, unsigned count, unsigned name, unsigned code) {
    for (unsigned i = 0; i < count; ++i) note(x + static_cast<int>(i) * step, name, code);
}

void ScoreBuilder::setVoice(int page, int staff, unsigned voice) {
    doc().findPage(page)->staves.at(static_cast<std::size_t>(staff)).voice().setVoice(voice);
}

bool ScoreBuilder::saveAs(const std::filesystem::path& path) {
    doc().storage.path = path;
    const bool saved = SavePages(ctx_.doc, ctx_.ui);
    DeleteWorkFiles(ctx_.doc);
    return saved;
}

void ScoreBuilder::setCurrent(int page, int staff, int element) {
    doc().currentPage = page;
    doc().currentStaff = staff;
    doc().currentElement = element;
}

}  // namespace notavera::test
