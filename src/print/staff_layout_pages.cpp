// The staff-layout dialog's effect on the document: the model taken over on OK, applied to the current page and
// copied to a range of pages, elements rescaled with their staves, refusals reported with message 70.
#include "print/staff_layout_pages.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/messages.h"
#include "score/mus_file.h"
#include "score/records.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

// Horizontal places measured in a staff size of `from` page units per staff space, moved to `to`.
void RescaleElements(PageRecord& page, unsigned from, unsigned to) {
    if (from == 0 || from == to) return;
    const double ratio = static_cast<double>(to) / from;
    for (StaffRecord& staff : page.staves) {
        for (ElementRecord& e : staff.elements) {
            e.x = static_cast<std::int32_t>(std::lround(e.x * ratio));
            e.shift = static_cast<std::int8_t>(std::clamp(std::lround(e.shift * ratio), -128L, 127L));
        }
    }
}

// A note drawn at the place of the staff above or below needs that staff: at the page's edges it goes home.
void KeepCrossStaffNotesOnThePage(PageRecord& page) {
    if (page.staves.empty()) return;
    for (ElementRecord& e : page.staves.front().elements)
        if (e.w0().crossStaff() == 1) e.w0().setCrossStaff(0);
    for (ElementRecord& e : page.staves.back().elements)
        if (e.w0().crossStaff() == 2) e.w0().setCrossStaff(0);
}

std::string PageList(const std::vector<int>& pages) {
    std::string list;
    for (int n : pages) list += (list.empty() ? "" : ", ") + std::to_string(n);
    return list;
}

}  // namespace

bool ApplyModelToPage(const StaffLayoutModel& model, PageRecord& page) {
    const unsigned before = page.layoutWord().staffSize();
    if (!ApplyStaffLayoutModel(model, page)) return false;
    RescaleElements(page, before, model.definition());
    KeepCrossStaffNotesOnThePage(page);
    return true;
}

void ApplyDefinitionToPage(unsigned definition, PageRecord& page) {
    RescaleElements(page, page.layoutWord().staffSize(), definition);
    page.layoutWord().setStaffSize(definition);
}

std::vector<int> CopyModelToPages(EditorContext& ctx, const StaffLayoutModel& model, int first, int last,
                                  bool definitionOnly) {
    ScoreDocument& doc = ctx.doc;
    const KeepCursor keep(doc, ctx.ui);
    std::vector<int> refused;
    first = std::max(first, 1);
    last = std::min(last, doc.pageCount);
    for (int n = first; n <= last; ++n) {
        if (n == keep.saved().page) continue;
        // The pages changed so far are written to the working file before the window slides past them.
        if (!doc.findPage(n) && MoveWindowTo(doc, ctx.ui, n) != FileOk) {
            refused.push_back(n);
            continue;
        }
        PageRecord* page = doc.findPage(n);
        if (!page) {
            refused.push_back(n);
            continue;
        }
        if (definitionOnly)
            ApplyDefinitionToPage(model.definition(), *page);
        else if (!ApplyModelToPage(model, *page))
            refused.push_back(n);
        doc.markModified();
    }
    return refused;
}

int RunStaffLayoutDialog(EditorContext& ctx, StaffLayoutPurpose purpose) {
    ScoreDocument& doc = ctx.doc;
    StaffLayoutEditor editor(doc, purpose, ctx.shell.settings.staffLayout, ctx.ui);
    DialogModel dialog = editor.makeDialog(doc.pageCount, doc.currentPage);
    if (!ctx.ui.runStaffLayoutDialog(dialog, editor)) return purpose == StaffLayoutPurpose::FirstPage ? 1 : 0;

    editor.remember(dialog);
    doc.layoutModel = editor.model();
    doc.stepUnit = std::max(1, static_cast<int>(doc.layoutModel.definition()) / 2);
    int result = 1;
    PageRecord* page = doc.page();
    if (purpose != StaffLayoutPurpose::NewPage && page) {
        std::vector<int> refused;
        if (!ApplyModelToPage(doc.layoutModel, *page)) refused.push_back(doc.currentPage);
        const int first = dialog.value("280");
        const int last = dialog.value("281");
        if (purpose == StaffLayoutPurpose::ModifyPage && (first != doc.currentPage || last != doc.currentPage)) {
            doc.markModified();
            const std::vector<int> more = CopyModelToPages(ctx, doc.layoutModel, first, last,
                                                           ctx.shell.settings.staffLayout.copyDefinitionOnly);
            refused.insert(refused.end(), more.begin(), more.end());
            result = 10;
        }
        if (!refused.empty())
            ctx.ui.showMessage({"Message", 70, FormatMessage(70, errorMessageCapacity, PageList(refused)),
                                MessageIcon::Exclamation, MessageButtons::Ok});
    }
    doc.markModified();
    return result;
}

}  // namespace notavera
