// The whole-file commands: each asks for its file, then leaves the work to the score library.
#include "shell/whole_file_commands.h"

#include "platform/dialog_model.h"
#include "platform/messages.h"
#include "score/document_compression.h"
#include "score/document_merge.h"
#include "score/optional_blocks_codec.h"
#include "score/wnv_file.h"
#include "score/work_files.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/file_commands.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

constexpr const char* notesField = "Notes";

const std::vector<FileFilter>& InterchangeFilters() {
    // File systems on Linux tell case apart: the lower-case extension is offered as well.
    static const std::vector<FileFilter> filters{{"Fichiers IMPORTATION (*.WNV)", "*.WNV *.wnv"}};
    return filters;
}

void Compress(EditorContext& ctx) {
    if (ctx.doc.storage.path.empty() || ctx.shell.maskEditing) return;
    CompressDocument(ctx.doc, ctx.ui);
    UpdateTitleBar(ctx);
}

void Merge(EditorContext& ctx) {
    if (ctx.shell.maskEditing || !MergeAllowed(ctx.doc, ctx.ui)) return;
    const auto chosen = ctx.ui.openFileName({"Fusionner avec...", "", DocumentFileFilters()});
    if (!chosen || chosen->empty()) return;
    MergeDocument(ctx.doc, ctx.ui, *chosen);
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
}

void Export(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.storage.fileState == FileState::None || ctx.shell.maskEditing) return;
    const auto chosen =
        ctx.ui.saveFileName({"Exporter", WithExtension(doc.storage.path, ".wnv").string(), InterchangeFilters()});
    if (!chosen || chosen->empty()) return;
    ctx.ui.setWaitCursor(true);
    ExportInterchange(doc, ctx.ui, *chosen);
    ctx.ui.setWaitCursor(false);
}

void Import(EditorContext& ctx) {
    if (ctx.doc.storage.fileState != FileState::None || ctx.shell.maskEditing || !ConfirmDiscard(ctx)) return;
    const auto source = ctx.ui.openFileName({"Importer", "", InterchangeFilters()});
    if (!source || source->empty()) return;
    const auto target =
        ctx.ui.saveFileName({"Importer", WithExtension(*source, ".mus").string(), DocumentFileFilters()});
    if (!target || target->empty()) return;
    ctx.ui.setWaitCursor(true);
    const bool imported = ImportInterchange(ctx.ui, *source, *target, ctx.doc.layoutModel);
    ctx.ui.setWaitCursor(false);
    if (imported) OpenDocumentFile(ctx, *target);
}

void FileNotes(EditorContext& ctx) {
    DialogModel model = MakeFileNotesDialog(ctx.doc);
    if (!ctx.ui.runDialog(model)) return;
    AcceptFileNotesDialog(model, ctx.doc);
    UpdateTitleBar(ctx);
}

}  // namespace

DialogModel MakeFileNotesDialog(const ScoreDocument& doc) {
    DialogModel m("InfoFichier", "Information sur le fichier courant");
    m.addText(0, notesField, doc.optional.notes.value_or(""), static_cast<int>(maxNotesLength - 1));
    return m;
}

void AcceptFileNotesDialog(const DialogModel& model, ScoreDocument& doc) {
    const std::string& text = model.text(notesField);
    if (text.empty()) {
        if (doc.optional.notes) doc.markModified();
        doc.optional.notes.reset();
        return;
    }
    doc.optional.notes = CutUtf8(text, maxNotesLength - 1);
    doc.markModified();
}

void RegisterWholeFileCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::Compress, [](EditorContext& ctx, int) { Compress(ctx); });
    registry.addCommand(cmd::Merge, [](EditorContext& ctx, int) { Merge(ctx); }, UndoPolicy::Step);
    registry.addCommand(cmd::ExportInterchange, [](EditorContext& ctx, int) { Export(ctx); });
    registry.addCommand(cmd::ImportInterchange, [](EditorContext& ctx, int) { Import(ctx); });
    registry.addCommand(cmd::FileNotes, [](EditorContext& ctx, int) { FileNotes(ctx); });
}

}  // namespace notavera
