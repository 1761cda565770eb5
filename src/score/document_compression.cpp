// Compressing: a publishing save first, so that the ".bak" holds the document as it was, then the compact copy
// written over the document through the same staging and rename as a save.
#include "score/document_compression.h"

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/mus_file.h"

namespace notavera {

bool CompressDocument(ScoreDocument& doc, UiServices& ui) {
    const std::string title = doc.title();
    // A document without a working file gets one made by the save, which publishes it by itself.
    if (doc.storage.fileState != FileState::None) doc.storage.fileState = FileState::Publish;
    if (!SavePages(doc, ui)) {
        ShowError(ui, msg::cannotWrite, &title);
        return false;
    }
    doc.storage.fileState = FileState::Open;
    doc.modified = false;
    return WriteCompactCopy(doc, ui, doc.storage.path, title);
}

}  // namespace notavera
