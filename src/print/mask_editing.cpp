// Mask editing: the mask pages made, entered, left and erased, and the per-page flags that hide them.
#include "print/mask_editing.h"

#include <memory>

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

}  // namespace notavera
