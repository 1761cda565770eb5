// notavera-cli compress DOC and merge DOC OTHER: the document opened as the editor opens it, compressed or merged
// with the other file, and saved. Messages go to standard error as the boxes would show them.
#include <cstdio>

#include "commands.h"
#include "platform/headless/headless_ui.h"
#include "platform/messages.h"
#include "score/document_compression.h"
#include "score/document_merge.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/work_files.h"

namespace notavera::cli {

int RunCompress(const Args& args) {
    if (args.size() != 1) {
        std::fputs("usage: notavera-cli compress DOC\n", stderr);
        return 2;
    }
    HeadlessUi ui(stderr);
    ScoreDocument doc;
    if (ReadDocument(doc, ui, args[0], false) != FileOk) {
        DeleteWorkFiles(doc);
        return 1;
    }
    const bool compressed = CompressDocument(doc, ui);
    DeleteWorkFiles(doc);
    return compressed ? 0 : 1;
}

int RunMerge(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli merge DOC AUTRE.mus\n", stderr);
        return 2;
    }
    HeadlessUi ui(stderr);
    ScoreDocument doc;
    if (ReadDocument(doc, ui, args[0], false) != FileOk) {
        DeleteWorkFiles(doc);
        return 1;
    }
    bool merged = MergeDocument(doc, ui, args[1]) == 0;
    if (merged) {
        // The merge went into the working file: saving publishes it over the document.
        doc.storage.fileState = FileState::Publish;
        merged = SavePages(doc, ui);
        if (!merged) {
            const std::string title = doc.title();
            ShowError(ui, 2, &title);
        }
    }
    DeleteWorkFiles(doc);
    return merged ? 0 : 1;
}

}  // namespace notavera::cli
