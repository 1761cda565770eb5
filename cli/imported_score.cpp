// The imported score saved as the output file.
#include "imported_score.h"

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/mus_file.h"
#include "score/work_files.h"

namespace notavera::cli {

bool SaveImportedScore(EditorContext& ctx, const std::string& out) {
    ctx.doc.storage.path = out;
    const bool saved = SavePages(ctx.doc, ctx.ui);
    DeleteWorkFiles(ctx.doc);
    if (!saved) {
        const std::string title = ctx.doc.title();
        ShowError(ctx.ui, msg::cannotWrite, &title);
    }
    return saved;
}

}  // namespace notavera::cli
