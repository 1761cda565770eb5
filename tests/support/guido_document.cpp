// Building test documents from GUIDO strings.
#include "support/guido_document.h"

#include <gtest/gtest.h>

#include "guido/gmn_import.h"
#include "score/new_document.h"

namespace notavera {

ScoreDocument DocumentFromGuido(std::string_view gmn, int pages) {
    ScoreDocument doc;
    SetUpNewDocument(doc, pages);
    ImportGuidoText(doc, gmn, [gmn](const GmnError& e) { ADD_FAILURE() << FormatGmnError(e) << "in: " << gmn; });
    return doc;
}

const std::vector<ElementRecord>& GuidoStaff(const ScoreDocument& doc, int staff) {
    static const std::vector<ElementRecord> none;
    const PageRecord* page = doc.findPage(1);
    if (!page || staff < 0 || staff >= static_cast<int>(page->staves.size())) return none;
    return page->staves[static_cast<std::size_t>(staff)].elements;
}

}  // namespace notavera
