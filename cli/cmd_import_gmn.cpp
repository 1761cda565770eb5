// notavera-cli import-gmn IN.gmn OUT.mus: a new score from the default staff layout model, the GUIDO piece
// read into its first page and laid out over as many pages as it needs, saved as OUT.mus. Reading errors go to standard error as the "Erreur" boxes
// would show them; what was read before an error is saved all the same.
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "imported_score.h"
#include "guido/gmn_import.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera::cli {

int RunImportGmn(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli import-gmn IN.gmn OUT.mus\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    EditorContext ctx(ui);
    SetUpNewDocument(ctx.doc, 1);
    const int status = ImportGuidoPiece(ctx.doc, args[0], ui, ctx.shell.settings.distanceSteps);
    if (status == gmnCannotOpen) return 1;
    if (!SaveImportedScore(ctx, args[1])) return 1;
    return status == gmnReadOk ? 0 : 1;
}

}  // namespace notavera::cli
