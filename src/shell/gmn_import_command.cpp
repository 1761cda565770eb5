// "Lire fichier GUIDO": the file dialog, the reading and the naming of the document.
#include "shell/gmn_import_command.h"

#include "guido/gmn_import.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/title_bar.h"

namespace notavera {

bool GuidoImportAllowed(const EditorContext& ctx) {
    return ctx.doc.storage.fileState == FileState::None && ctx.doc.storage.path.empty() && !ctx.shell.maskEditing;
}

int RunGuidoImportCommand(EditorContext& ctx) {
    if (!GuidoImportAllowed(ctx)) return 0;
    // File systems on Linux tell case apart: the lower-case extension is offered as well.
    const FileDialogRequest request{"Lire fichier GUIDO", "", {FileFilter{"Fichiers GUIDO (*.GMN)", "*.GMN *.gmn"}}};
    const auto chosen = ctx.ui.openFileName(request);
    if (!chosen || chosen->empty()) return 0;

    ScoreDocument& doc = ctx.doc;
    doc.storage.path = *chosen;
    if (!doc.findPage(1)) SetUpNewDocument(doc, 1);
    ctx.ui.setWaitCursor(true);
    ImportGuidoPiece(doc, doc.storage.path, ctx.ui, ctx.shell.settings.distanceSteps);
    ctx.ui.setWaitCursor(false);
    doc.storage.path.replace_extension(".mus");
    UpdateTitleBar(ctx);
    return 1;
}

}  // namespace notavera
