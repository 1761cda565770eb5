// "Fusionner avec...": another document's pages appended to the open one, with its fonts.
#pragma once

#include <filesystem>

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Whether the document may be merged into now: it has a file and nothing unsaved. Message 23 otherwise.
bool MergeAllowed(const ScoreDocument& doc, UiServices& ui);

// Appends the pages of the document file `other` to the open document, in its working file: each page gets
// the next page number (inside its record too), the other file's fonts join the document's font table and the
// texts of the appended pages name them by their new index. Everything is read and checked before anything is
// written. Returns 0, or the number of the message it showed: 23, 64, 5, 2, 4, 7, 75 (refused, nothing
// written) or 1 (a write failed). The document is marked modified once its working file has been written to.
int MergeDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& other);

}  // namespace notavera
