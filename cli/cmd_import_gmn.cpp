// notavera-cli import-gmn IN.gmn OUT.mus: a new score from the default staff layout model, the GUIDO piece
// read into its first page and laid out over as many pages as it needs, saved as OUT.mus. Reading errors go to standard error as the "Erreur" boxes
// would show them; what was read before an error is saved all the same.
#include <cstdio>

#include "commands.h"
#include "guido/gmn_import.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {

int RunImportGmn(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli import-gmn IN.gmn OUT.mus\n", stderr);
        return 2;
    }
    HeadlessUi ui(stderr);
    EditorContext ctx(ui);
    SetUpNewDocument(ctx.doc, 1);
    const int status = ImportGuidoPiece(ctx.doc, args[0], ui, ctx.shell.settings.distanceSteps);
    if (status == gmnCannotOpen) return 1;
    ctx.doc.storage.path = args[1];
    const bool saved = SavePages(ctx.doc, ctx.ui);
    DeleteWorkFiles(ctx.doc);
    if (!saved) {
        const std::string title = ctx.doc.title();
        ShowError(ui, 2, &title);
        return 1;
    }
    return status == gmnReadOk ? 0 : 1;
}

}  // namespace notavera::cli
