// The separate-part commands: the questions and dialogs, then the part built in a document of its own and saved;
// the open document is only read.
#include "print/separate_part_command.h"

#include "edit/separate_part.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "print/page_format_dialog.h"
#include "print/staff_layout_editor.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/page_size.h"
#include "score/work_files.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"

namespace notavera {

namespace {

PartMode ModeOf(int command) {
    switch (command) {
        case cmd::SeparatePartsVoiceAlone: return PartMode::VoiceAlone;
        case cmd::SeparatePartsRaw: return PartMode::Raw;
        default: return PartMode::Standard;
    }
}

// Beside the document (the current folder for an untitled one): "SEP_<voice>.mus", or "PARTITIO.MUS".
std::filesystem::path PartPath(const ScoreDocument& doc, int command, unsigned voice) {
    const std::string name = command == cmd::ScoreToPartitionFile ? "PARTITIO.MUS" : "SEP_" + std::to_string(voice) + ".mus";
    return doc.storage.path.empty() ? std::filesystem::path(name) : doc.storage.path.parent_path() / name;
}

void ExtractPart(EditorContext& ctx, int command) {
    ScoreDocument& doc = ctx.doc;
    const StaffRecord* staff = doc.staff();
    if (!staff || ctx.shell.maskEditing) return;
    if (doc.modified &&
        AskSaveChanges(ctx.ui, doc.title(), [&ctx] { return DoFileCommand(ctx, cmd::Save) == 1; }) ==
            MessageAnswer::Cancel)
        return;
    const unsigned voice = doc.staff()->voice().voice();

    // The part starts from the document's settings and fonts; the dialogs change the part's, never the document's.
    EditorContext partCtx(ctx.ui);
    ScoreDocument& part = partCtx.doc;
    part.header = doc.header;
    part.fonts = doc.fonts;
    part.settings = doc.settings;
    part.layoutModel = doc.layoutModel;
    SetUpNewDocument(part, 1);
    DialogModel format = makePageFormatDialog(part, ctx.shell.settings);
    if (ctx.ui.runDialog(format)) acceptPageFormatDialog(format, part, ctx.shell.settings);
    StaffLayoutEditor editor(part, StaffLayoutPurpose::NewPage, ctx.shell.settings.staffLayout, ctx.ui);
    DialogModel layout = editor.makeDialog(part.pageCount, part.currentPage);
    if (!ctx.ui.runStaffLayoutDialog(layout, editor)) return;
    editor.remember(layout);
    part.layoutModel = editor.model();
    applyPageSize(part);

    PartRequest request;
    request.voice = static_cast<int>(voice);
    request.mode = ModeOf(command);
    request.firstPage = doc.currentPage;
    const int marker = ctx.shell.cursor.markerPage;
    request.lastPage = marker >= doc.currentPage && marker <= doc.pageCount ? marker : doc.pageCount;
    ctx.ui.setWaitCursor(true);
    BuildSeparatePart(doc, ctx.ui, request, ctx.shell.settings.distanceSteps, part);
    part.storage.path = PartPath(doc, command, voice);
    const bool saved = SavePages(part, ctx.ui);
    DeleteWorkFiles(part);
    ctx.ui.setWaitCursor(false);
    const std::string name = part.storage.path.filename().string();
    if (saved)
        MessageWithName(ctx.ui, msg::written, name);
    else
        ShowError(ctx.ui, msg::cannotWrite, &name);
}

}  // namespace

void RegisterSeparatePartCommands(CommandRegistry& registry) {
    for (const int command : {cmd::SeparatePartsStandard, cmd::SeparatePartsVoiceAlone, cmd::SeparatePartsRaw,
                              cmd::ScoreToPartitionFile})
        registry.addCommand(command, [](EditorContext& ctx, int id) { ExtractPart(ctx, id); });
}

}  // namespace notavera
