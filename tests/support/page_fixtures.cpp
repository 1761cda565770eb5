// Test support: documents, elements and the element spy of the drawing tests.
#include "support/page_fixtures.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"

namespace notavera::test {

ScoreDocument NewDocument(int pages) {
    ScoreDocument doc;
    SetUpNewDocument(doc, pages);
    return doc;
}

void SaveNumberedDocument(const std::filesystem::path& path, int pages) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, pages);
    doc.optional.pagination = std::array<std::uint8_t, 10>{0, 0, 0, 0, 1, 1, 1, 0, 0, 2};
    doc.header.blockFlags() |= block_flag::pagination;
    doc.storage.path = path;
    ASSERT_TRUE(SavePages(doc, ui));
    DeleteWorkFiles(doc);
}

ElementRecord NoteAt(int x) {
    ElementRecord e;
    e.x = x;
    e.w0().setOctave(4);
    e.noteWord().setDurationCode(4);
    e.noteWord().setStep(5);
    return e;
}

ElementRecord SignAt(SignType type, int x, int code) {
    ElementRecord e;
    e.x = x;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    e.signWord().setCode(static_cast<unsigned>(code) & 0xFFu);
    return e;
}

ElementDrawer ElementSpy::drawer() {
    return [this](DrawingContext& dc, const StaffRecord& staff, int index) {
        const auto s = static_cast<std::size_t>(staff.key().index());
        const double reference = s < dc.staves.size() ? dc.staves[s].referenceY : 0;
        handed_.push_back({static_cast<int>(s), index, staff.elements[static_cast<std::size_t>(index)].x, reference,
                           dc.draw.isSmallStaff, dc.draw.alternateGlyphs, dc.draw.drawColour, dc.outputMode});
    };
}

std::vector<nlohmann::json> CallsOf(const nlohmann::json& calls, const std::string& op) {
    std::vector<nlohmann::json> found;
    for (const auto& c : calls)
        if (c.at("op") == op) found.push_back(c);
    return found;
}

}  // namespace notavera::test
