// notavera-cli compress DOC and merge DOC OTHER: the document opened as the editor opens it, compressed or merged
// with the other file, and saved. Messages go to standard error as the boxes would show them.
#include <cstdio>
#include <string>

#include "cli_ui.h"
#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/document_compression.h"
#include "score/document_merge.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/work_files.h"

namespace notavera::cli {

namespace {

// The document opened as the editor opens it, `work` done on it, and its work files removed whatever the outcome.
template <typename Work>
int EditDocument(const std::string& path, Work work) {
    CliUi ui(stderr);
    ScoreDocument doc;
    const bool done = ReadDocument(doc, ui, path, false) == FileOk && work(doc, ui);
    DeleteWorkFiles(doc);
    return done ? 0 : 1;
}

}  // namespace

int RunCompress(const Args& args) {
    if (args.size() != 1) {
        std::fputs("usage: notavera-cli compress DOC\n", stderr);
        return 2;
    }
    return EditDocument(args[0], [](ScoreDocument& doc, HeadlessUi& ui) { return CompressDocument(doc, ui); });
}

int RunMerge(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli merge DOC AUTRE.mus\n", stderr);
        return 2;
    }
    return EditDocument(args[0], [&](ScoreDocument& doc, HeadlessUi& ui) {
        if (MergeDocument(doc, ui, args[1]) != 0) return false;
        // The merge went into the working file: saving publishes it over the document.
        doc.storage.fileState = FileState::Publish;
        if (SavePages(doc, ui)) return true;
        const std::string title = doc.title();
        ShowError(ui, msg::cannotWrite, &title);
        return false;
    });
}

}  // namespace notavera::cli
