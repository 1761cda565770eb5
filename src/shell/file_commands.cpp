// The file commands. The document in memory is only given up once its replacement is certain: the question
// about unsaved changes comes first, and the working files are kept until the file dialog has been answered.
#include "shell/file_commands.h"

#include "platform/message_ids.h"
#include "print/mask_editing.h"
#include "print/staff_layout_pages.h"
#include "render/zoom.h"
#include "score/companion_files.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/continuous_view.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/recent_files.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

const std::vector<FileFilter>& DocumentFilters() {
    static const std::vector<FileFilter> filters{{"Fichiers NOTAVERA (*.MUS)", "*.mus *.MUS"}};
    return filters;
}

// Leaves the modes that wait for a click or a symbol, as the insertion cursor goes away with the document.
void ClosePendingModes(EditorContext& ctx) {
    if (ctx.shell.input.mouseMode != 0) ctx.ui.endMouseMode();
    ctx.shell.input.mouseMode = 0;
    ctx.shell.input.zSymbolMode = 0;
    LeaveContinuousView(ctx);
}

// Said when the document opens rather than at the first save that would fail.
void SayIfReadOnly(EditorContext& ctx) {
    const std::filesystem::path& path = ctx.doc.storage.path;
    if (!WritableByUser(path) || !WritableByUser(path.parent_path()))
        MessageWithName(ctx.ui, msg::readOnly, ctx.doc.title());
}

void ShowCannotWrite(EditorContext& ctx) {
    const std::string title = ctx.doc.title();
    ShowError(ctx.ui, msg::cannotWrite, &title);
}

// Writes the pages and publishes the working file over the document.
// The document at `path` heads "Fichiers récents", which the interface keeps at once.
void RememberRecent(EditorContext& ctx, const std::filesystem::path& path) {
    RememberRecentFile(ctx.shell.settings.recentFiles, path);
    ctx.ui.storeRecentFiles(ctx.shell.settings.recentFiles);
}

bool WriteAndPublish(EditorContext& ctx) {
    // A document without a working file gets one made by the save, which publishes it by itself.
    if (ctx.doc.storage.fileState != FileState::None) ctx.doc.storage.fileState = FileState::Publish;
    if (!SavePages(ctx.doc, ctx.ui, PlaceToReopen(ctx))) {
        ShowCannotWrite(ctx);
        return false;
    }
    ctx.doc.modified = false;
    ctx.doc.storage.fileState = FileState::Open;
    RememberRecent(ctx, ctx.doc.storage.path);
    UpdateTitleBar(ctx);
    return true;
}

int Save(EditorContext& ctx);

int SaveAs(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const std::filesystem::path oldPath = doc.storage.path;
    // The pages in memory go into the working file first, so that it carries the whole score to its new name;
    // the old document itself is left as the user last saved it.
    if (!oldPath.empty() && doc.storage.fileState != FileState::None &&
        !SaveToWorkingFile(doc, ctx.ui, PlaceToReopen(ctx))) {
        ShowCannotWrite(ctx);
        return 0;
    }
    const auto chosen = ctx.ui.saveFileName({"Enregistrer sous", oldPath.string(), DocumentFilters()});
    if (!chosen || chosen->empty()) return 0;
    const std::filesystem::path newPath = *chosen;
    if (!NameDocument(ctx.doc, ctx.ui, newPath)) return 0;
    if (!oldPath.empty()) MoveCompanionFiles(oldPath, newPath);
    UpdateTitleBar(ctx);
    return WriteAndPublish(ctx) ? 1 : 0;
}

int Save(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.storage.path.empty()) return SaveAs(ctx);
    // The continuous view is left while writing; the page shown before comes back afterwards.
    const int page = doc.currentPage;
    const bool continuous = ctx.shell.view.continuousView;
    LeaveContinuousView(ctx);
    const bool saved = WriteAndPublish(ctx);
    if (continuous) {
        if (page != doc.currentPage) MoveWindowTo(doc, ctx.ui, page);
        EnterContinuousView(ctx);
    }
    return saved ? 1 : 0;
}

int New(EditorContext& ctx) {
    ClosePendingModes(ctx);
    if (!ConfirmDiscard(ctx)) return 0;
    DeleteWorkFiles(ctx.doc);
    StartEmptyDocument(ctx);
    return 1;
}

int Open(EditorContext& ctx) {
    ClosePendingModes(ctx);
    if (!ConfirmDiscard(ctx)) return 0;
    const auto chosen = ctx.ui.openFileName({"Ouvrir", "", DocumentFilters()});
    if (!chosen || chosen->empty()) return 0;
    return OpenDocumentFile(ctx, *chosen);
}

// A file of "Fichiers récents" opens as through "Ouvrir"; one that has gone since is said so and forgotten, and
// the document stays as it was.
int OpenRecent(EditorContext& ctx, std::size_t index) {
    std::vector<std::string>& recent = ctx.shell.settings.recentFiles;
    if (index >= recent.size()) return 0;
    const std::string path = recent[index];
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        recent.erase(recent.begin() + static_cast<std::ptrdiff_t>(index));
        ctx.ui.storeRecentFiles(recent);
        ShowError(ctx.ui, msg::cannotRead, &path);
        return 0;
    }
    ClosePendingModes(ctx);
    if (!ConfirmDiscard(ctx)) return 0;
    return OpenDocumentFile(ctx, path);
}

int Quit(EditorContext& ctx) {
    if (!ConfirmDiscard(ctx)) return 0;
    DeleteWorkFiles(ctx.doc);
    ctx.ui.closeWindow();
    return 1;
}

}  // namespace

const std::vector<FileFilter>& DocumentFileFilters() { return DocumentFilters(); }

int OpenDocumentFile(EditorContext& ctx, const std::filesystem::path& path) {
    const StaffLayoutModel model = ctx.doc.layoutModel;
    DeleteWorkFiles(ctx.doc);
    ctx.doc = ScoreDocument();
    ctx.doc.layoutModel = model;
    if (ReadDocument(ctx.doc, ctx.ui, path, ctx.shell.recoveryCheck) != FileOk) {
        DeleteWorkFiles(ctx.doc);
        StartEmptyDocument(ctx);
        return 0;
    }
    ShowDocument(ctx);
    RememberRecent(ctx, path);
    SayIfReadOnly(ctx);
    DispatchCommand(ctx, cmd::ZoomNormal);
    ctx.ui.invalidate();
    return 1;
}

int DefaultCursorX(ScoreDocument& doc) { return EntryCursorX(doc); }

void ShowDocument(EditorContext& ctx) {
    ctx.shell.documentReady = true;
    ctx.shell.cursor = CursorState{};  // markers and zones belonged to the document before
    ctx.shell.cursor.x = DefaultCursorX(ctx.doc);
    UpdateTitleBar(ctx);
}

bool ConfirmDiscard(EditorContext& ctx) {
    if (!ctx.doc.modified) return true;
    const MessageAnswer answer =
        AskSaveChanges(ctx.ui, ctx.doc.title(), [&ctx] { return DoFileCommand(ctx, cmd::Save) == 1; });
    return answer != MessageAnswer::Cancel;
}

int DoFileCommand(EditorContext& ctx, int command) {
    switch (command) {
    case cmd::New: return New(ctx);
    case cmd::Open: return Open(ctx);
    case cmd::Save: return Save(ctx);
    case cmd::SaveAs: return SaveAs(ctx);
    case cmd::Quit: return Quit(ctx);
    default: return 0;
    }
}

std::string DocumentPathFromCommandLine(std::string_view commandLine) {
    if (commandLine.size() >= 2 && commandLine.front() == '"' && commandLine.back() == '"')
        commandLine = commandLine.substr(1, commandLine.size() - 2);
    return std::string(commandLine);
}

void StartEmptyDocument(EditorContext& ctx) {
    DeleteWorkFiles(ctx.doc);  // an untitled score replaced leaves no working file behind
    const StaffLayoutModel model = ctx.doc.layoutModel;
    ctx.doc = ScoreDocument();
    ctx.doc.layoutModel = model;
    SetUpNewDocument(ctx.doc, 1);
    GiveUntitledWorkingFile(ctx.doc);  // without one it still works, in memory alone
    ShowDocument(ctx);
    ctx.ui.invalidate();
}

int OpenStartDocument(EditorContext& ctx, std::string_view commandLine) {
    const std::string path = DocumentPathFromCommandLine(commandLine);
    if (ctx.shell.recoveryCheck) RecoverUntitledScores(ctx.ui);
    if (path.empty()) {
        // A first start without a document: page 1 is defined in the staff-layout dialog; cancelling it keeps
        // the default layout.
        StartEmptyDocument(ctx);
        RunStaffLayoutDialog(ctx, StaffLayoutPurpose::FirstPage);
        return 0;
    }
    if (ReadDocument(ctx.doc, ctx.ui, path, ctx.shell.recoveryCheck) != FileOk) {
        DeleteWorkFiles(ctx.doc);
        StartEmptyDocument(ctx);
        return 0;
    }
    ShowDocument(ctx);
    RememberRecent(ctx, path);
    SayIfReadOnly(ctx);
    return 1;
}

void RegisterFileCommands(CommandRegistry& registry) {
    for (const int command : {cmd::New, cmd::Open, cmd::Save, cmd::SaveAs, cmd::Quit})
        registry.addCommand(command, [](EditorContext& ctx, int id) { DoFileCommand(ctx, id); });
    for (int n = 0; n < cmd::RecentFileCount; ++n)
        registry.addCommand(cmd::FirstRecentFile + n, [](EditorContext& ctx, int id) {
            OpenRecent(ctx, static_cast<std::size_t>(id - cmd::FirstRecentFile));
        });
}

}  // namespace notavera
