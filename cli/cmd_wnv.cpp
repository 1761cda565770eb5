// notavera-cli export-wnv DOC OUT.wnv and import-wnv IN.wnv OUT.mus: the interchange file written from a
// document, and read into a new document file. Messages go to standard error as the boxes would show them.
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/wnv_file.h"

namespace notavera::cli {

int RunExportWnv(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli export-wnv DOC OUT.wnv\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    ScoreDocument doc;
    if (InspectDocument(doc, ui, args[0]) != FileOk) return 1;
    return ExportInterchange(doc, ui, args[1]) ? 0 : 1;
}

int RunImportWnv(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli import-wnv IN.wnv OUT.mus\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    return ImportInterchange(ui, args[0], args[1], StaffLayoutModel::makeDefault()) ? 0 : 1;
}

}  // namespace notavera::cli
