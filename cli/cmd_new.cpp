// notavera-cli new: a new document laid out by the default staff layout model, saved the way the
// editor saves a new document the first time (through its working file, then published).
#include <charconv>
#include <cstdio>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {

namespace {

constexpr const char* newUsage = "usage : notavera-cli new SORTIE.mus [--pages N]\n";

int NewUsageError(const std::string& problem) {
    std::fprintf(stderr, "%s\n%s", problem.c_str(), newUsage);
    return 2;
}

// The page count of --pages: 1 to 255.
bool ParsePageCount(const std::string& text, int& pages) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, pages);
    return error == std::errc() && at == end && pages >= 1 && pages <= maxPages;
}

}  // namespace

int RunNew(const Args& args) {
    std::string out;
    int pages = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--pages") {
            if (i + 1 >= args.size() || !ParsePageCount(args[i + 1], pages))
                return NewUsageError("Nombre de pages incorrect (1 à 255)");
            ++i;
        } else if (args[i].starts_with("--") || !out.empty()) {
            return NewUsageError("Argument inattendu : " + args[i]);
        } else {
            out = args[i];
        }
    }
    if (out.empty()) return NewUsageError("Nom du fichier à créer manquant");

    CliUi ui(stderr);
    EditorContext ctx(ui);
    SetUpNewDocument(ctx.doc, pages);
    if (!NameDocument(ctx.doc, ctx.ui, out)) return 1;
    const bool saved = SavePages(ctx.doc, ctx.ui);
    if (!saved) ShowError(ui, msg::cannotWrite, &out);
    DeleteWorkFiles(ctx.doc);
    return saved ? 0 : 1;
}

}  // namespace notavera::cli
