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

// True when the user may change the file or folder: the system grants it, and for a file or folder of
// the user's own, its owner's write permission is set (the mark of a file kept read-only on purpose,
// which even a user the system lets through must not write over).
bool WritableByUser(const std::filesystem::path& path);

// The folder where untitled scores keep their working files, made readable by the user alone:
// $XDG_STATE_HOME/notavera, or ~/.local/state/notavera. Empty when it cannot be made.
std::filesystem::path UntitledFolder();

}  // namespace notavera
