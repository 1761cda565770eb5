// The page after a given one, read into the window or appended to the score.
#include "score/page_append.h"

#include "score/mus_file.h"

namespace notavera {


PageRecord* PageAfter(ScoreDocument& doc, UiServices& ui, int number) {
    if (PageRecord* next = doc.findPage(number + 1)) return next;
    const PageRecord* page = doc.findPage(number);
    if (page == nullptr || doc.pages.empty() || &doc.pages.back() != page) return nullptr;
    if (number < doc.pageCount) {
        std::optional<PageRecord> loaded = LoadPage(doc, ui, number + 1);
        if (!loaded) return nullptr;
        doc.pages.push_back(std::move(*loaded));
    } else {
        if (number >= maxPages) return nullptr;
        doc.pages.push_back(NewPageLike(*page, number + 1));
        doc.pageCount = number + 1;
        doc.header.setPageCount(static_cast<std::uint16_t>(doc.pageCount));
    }
    doc.storage.windowLast = number + 1;
    doc.markModified();
    return &doc.pages.back();
}

PageRecord NewPageLike(const PageRecord& model, int number) {
    PageRecord page;
    page.number = static_cast<std::uint32_t>(number);
    page.layout = model.layout;
    page.indent = model.indent;
    page.extra = model.extra;
    page.lineLength = model.lineLength;
    for (const StaffRecord& s : model.staves) {
        StaffRecord staff;
        staff.voiceWord = s.voiceWord;
        staff.keyWord = s.keyWord;
        staff.lineWord = s.lineWord;
        staff.y = s.y;
        // Only the score's first line starts at the indentation.
        staff.key().setIndented(false);
        page.staves.push_back(std::move(staff));
    }
    return page;
}

}  // namespace notavera
