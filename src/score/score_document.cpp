// The values a new document starts with, and the navigation helpers of the open document.
#include "score/score_document.h"

#include <algorithm>
#include <utility>

#include "score/binary_file.h"

namespace notavera {

DocumentStorage::DocumentStorage() = default;
DocumentStorage::~DocumentStorage() = default;
DocumentStorage::DocumentStorage(DocumentStorage&&) noexcept = default;
DocumentStorage& DocumentStorage::operator=(DocumentStorage&&) noexcept = default;

ScoreDocument::ScoreDocument() {
    header.setVersion(2, 2);
    header.setEndOfData(4423);
    header.pageFormat().setStartupValues();
    header.midi().setNewScoreValues();
    header.smallStaffNum() = 16;
    header.smallStaffDen() = 20;
    header.cueNum() = 3;
    header.cueDen() = 4;
    header.continuousPages() = 1;
    header.setHeightCorrections(2, 0, 2);
    header.setAverageBeamHeightTenths(30);
    // The spacing step and the step unit start as the half-space of the model's normal staff.
    stepUnit = std::max(1, static_cast<int>(layoutModel.definition()) / 2);
    spacingStep = stepUnit;
}

ScoreDocument::ScoreDocument(ScoreDocument&&) noexcept = default;
ScoreDocument& ScoreDocument::operator=(ScoreDocument&&) noexcept = default;
ScoreDocument::~ScoreDocument() = default;

PageRecord* ScoreDocument::findPage(int number) {
    return const_cast<PageRecord*>(std::as_const(*this).findPage(number));
}

int ScoreDocument::lineEnd(const PageRecord& page) const {
    if (continuousLineEnd > 0 && page.layoutWord().continuousCount() != 0) return continuousLineEnd;
    return static_cast<int>(page.lineLength & 0xFFFFFFu);
}

const PageRecord* ScoreDocument::findPage(int number) const {
    if (number == 0 && editedMask != 0)
        return editedMask == 1 ? optional.fixedMask.get() : optional.variableMask.get();
    for (const auto& p : pages)
        if (static_cast<int>(p.number) == number) return &p;
    return nullptr;
}

StaffRecord* ScoreDocument::staff() {
    PageRecord* p = page();
    if (!p || currentStaff < 0 || currentStaff >= static_cast<int>(p->staves.size())) return nullptr;
    return &p->staves[currentStaff];
}

ElementRecord* ScoreDocument::element() {
    StaffRecord* s = staff();
    if (!s || currentElement < 0 || currentElement >= static_cast<int>(s->elements.size())) return nullptr;
    return &s->elements[currentElement];
}

std::string ScoreDocument::title() const { return storage.path.filename().string(); }

}  // namespace notavera
