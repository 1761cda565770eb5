// Where a document's working file, its lock and its autosave copy live: beside the document, or in
// a private folder of the user's when the document's folder is not writable.
#pragma once

#include <filesystem>

namespace notavera {

// The document's own folder when it is writable; otherwise a folder set apart for the document's
// folder inside $XDG_RUNTIME_DIR/notavera, or, without a runtime directory, inside a per-user
// folder of the temporary directory ("notavera-<uid>").
std::filesystem::path WorkFolder(const std::filesystem::path& document);

// Creates a private work folder (and its parent) readable by the user alone, and checks that an
// existing one is a real folder that belongs to the user and nobody else can enter. The document's
// own folder is taken as it is. False when the folder cannot be used.
bool MakeWorkFolder(const std::filesystem::path& folder);

// Removes a private work folder once it is empty; the document's own folder is never touched.
void RemoveWorkFolderIfEmpty(const std::filesystem::path& folder);

}  // namespace notavera
