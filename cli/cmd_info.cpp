// notavera-cli info: a document as JSON (header, pages, staves and, with --elements, every element).
#include <cstdio>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "score/document_json.h"
#include "score/mus_file.h"
#include "score/score_document.h"

namespace notavera::cli {

int RunInfo(const Args& args) {
    std::string path;
    bool elements = false;
    for (const std::string& arg : args) {
        if (arg == "--elements") {
            elements = true;
        } else if (arg.starts_with("--") || !path.empty()) {
            std::fprintf(stderr, "Argument inattendu : %s\nusage : notavera-cli info FICHIER.mus [--elements]\n",
                         arg.c_str());
            return 2;
        } else {
            path = arg;
        }
    }
    if (path.empty()) {
        std::fputs("Nom du fichier manquant\nusage : notavera-cli info FICHIER.mus [--elements]\n", stderr);
        return 2;
    }

    CliUi ui(stderr);
    ScoreDocument doc;
    // Looking at a document leaves it to the editor that may hold it, and its autosave copy to the next opening.
    const int status = InspectDocument(doc, ui, path);
    if (status == FileOk) {
        const std::string text = DocumentToJson(doc, ui, elements).dump(2);
        std::printf("%s\n", text.c_str());
    }
    return status == FileOk ? 0 : 1;
}

}  // namespace notavera::cli
