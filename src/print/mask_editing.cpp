// Mask editing: the mask pages made, entered, left and erased, and the per-page flags that hide them.
#include "print/mask_editing.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "score/file_header.h"
#include "score/staff_layout_model.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

// The mask a command names: 1 fixed, 2 variable, 0 for any other command.
int MaskOf(int command, int fixed, int variable) {
    if (command == fixed) return 1;
    if (command == variable) return 2;
    return 0;
}

std::unique_ptr<PageRecord>& MaskPage(ScoreDocument& doc, int mask) {
    return mask == 1 ? doc.optional.fixedMask : doc.optional.variableMask;
}

std::uint8_t MaskFlag(int mask) { return mask == 1 ? block_flag::fixedMask : block_flag::variableMask; }

}  // namespace

int EnterMaskEditing(EditorContext& ctx, int command) {
    ScoreDocument& doc = ctx.doc;
    const int mask = MaskOf(command, cmd::EditFixedMask, cmd::EditVariableMask);
    if (mask == 0 || ctx.shell.maskEditing || doc.pageCount < 1 || ctx.shell.view.continuousView) return 0;
    std::unique_ptr<PageRecord>& page = MaskPage(doc, mask);
    if (!page) {
        page = std::make_unique<PageRecord>();
        page->number = 0;
        ApplyStaffLayoutModel(doc.layoutModel, *page);  // an empty page always takes the model
        doc.header.blockFlags() |= MaskFlag(mask);
        doc.markModified();
    }
    ctx.shell.maskReturn = {doc.currentPage, doc.currentStaff, doc.currentElement};
    ctx.shell.maskEditing = true;
    doc.editedMask = mask;
    doc.currentPage = 0;
    doc.currentStaff = 0;
    doc.currentElement = !page->staves.empty() && !page->staves[0].elements.empty() ? 0 : -1;
    return 1;
}

int LeaveMaskEditing(EditorContext& ctx) {
    if (!ctx.shell.maskEditing) return 0;
    ScoreDocument& doc = ctx.doc;
    doc.editedMask = 0;
    ctx.shell.maskEditing = false;
    doc.currentPage = ctx.shell.maskReturn.page;
    doc.currentStaff = ctx.shell.maskReturn.staff;
    doc.currentElement = ctx.shell.maskReturn.element;
    return 1;
}

CursorPlace PlaceToReopen(const EditorContext& ctx) {
    if (!ctx.shell.maskEditing) return CurrentPlace(ctx.doc);
    return {ctx.shell.maskReturn.page, ctx.shell.maskReturn.staff, ctx.shell.maskReturn.element};
}

int EraseMask(EditorContext& ctx, int command) {
    ScoreDocument& doc = ctx.doc;
    const int mask = MaskOf(command, cmd::EraseFixedMask, cmd::EraseVariableMask);
    if (mask == 0 || doc.editedMask == mask) return 0;
    std::unique_ptr<PageRecord>& page = MaskPage(doc, mask);
    if (!page) return 0;
    page.reset();
    doc.header.blockFlags() &= static_cast<std::uint8_t>(~MaskFlag(mask));
    doc.markModified();
    return 1;
}

int ToggleMaskFlag(EditorContext& ctx, int command) {
    const int mask = MaskOf(command, cmd::WithoutFixedMask, cmd::WithoutVariableMask);
    PageRecord* page = ctx.doc.page();
    if (mask == 0 || !page) return 0;
    auto layout = page->layoutWord();
    if (mask == 1)
        layout.setWithoutFixedMask(!layout.withoutFixedMask());
    else
        layout.setWithoutVariableMask(!layout.withoutVariableMask());
    ctx.doc.markModified();
    return 1;
}

std::uint8_t MasksShownOnPage(const ScoreDocument& doc) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (!page || doc.editedMask != 0) return 0;
    const auto layout = page->layoutWord();
    std::uint8_t shown = 0;
    if (doc.optional.fixedMask && !layout.withoutFixedMask()) shown |= block_flag::fixedMask;
    if (doc.optional.variableMask && !layout.withoutVariableMask()) shown |= block_flag::variableMask;
    return shown;
}

namespace {

// Merges `traced` into `staff` by x, the staff's own elements first at one x; returns where the staff's element
// `kept` went (-1 stays -1).
int MergeByX(StaffRecord& staff, const std::vector<ElementRecord>& traced, int kept) {
    std::vector<ElementRecord> merged;
    merged.reserve(staff.elements.size() + traced.size());
    std::size_t own = 0;
    int keptAt = -1;
    const auto takeOwn = [&] {
        if (static_cast<int>(own) == kept) keptAt = static_cast<int>(merged.size());
        merged.push_back(std::move(staff.elements[own++]));
    };
    for (const ElementRecord& element : traced) {
        while (own < staff.elements.size() && staff.elements[own].x <= element.x) takeOwn();
        merged.push_back(element);
    }
    while (own < staff.elements.size()) takeOwn();
    staff.elements = std::move(merged);
    return keptAt;
}

}  // namespace

int TraceMasks(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const std::uint8_t shown = MasksShownOnPage(doc);
    if (shown == 0) return 0;
    PageRecord& page = *doc.page();
    for (const int mask : {1, 2}) {
        if ((shown & MaskFlag(mask)) == 0) continue;
        const PageRecord& model = *MaskPage(doc, mask);
        const std::size_t staves = std::min(model.staves.size(), page.staves.size());
        for (std::size_t s = 0; s < staves; ++s) {
            const int kept = static_cast<int>(s) == doc.currentStaff ? doc.currentElement : -1;
            const int keptAt = MergeByX(page.staves[s], model.staves[s].elements, kept);
            if (kept >= 0) doc.currentElement = keptAt;
        }
        auto layout = page.layoutWord();
        if (mask == 1)
            layout.setWithoutFixedMask(true);
        else
            layout.setWithoutVariableMask(true);
    }
    doc.markModified();
    ctx.ui.invalidate();
    return 1;
}

}  // namespace notavera
