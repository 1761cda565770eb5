// The files around a document: the working file, the ".bak" backup, the ".sav" autosave copy;
// publishing the working file, the recovery check and the autosave minute logic.
#pragma once

#include <filesystem>
#include <string>

namespace notavera {

struct EditorContext;

// The working file of a document: its name with the last character replaced by 'm' and the
// third-from-last by 's' (song.mus → song.sum), beside the document, or in the user's runtime
// directory when the document's folder is not writable.
std::filesystem::path WorkingFileName(const std::filesystem::path& document);
// The path with its extension (from the last '.') replaced: ".bak", ".sav", ".mus".
std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& extension);

// Copies source to destination in blocks of 32768 bytes; nothing happens when the source does
// not exist. False when the copy failed.
bool CopyFile(const std::filesystem::path& source, const std::filesystem::path& destination);

// Copies the document over its working file and runs the recovery check (message 72).
// False (with the system's message shown) when the working file cannot be made or another
// running instance holds it.
bool PrepareWorkingFile(EditorContext& ctx, const std::filesystem::path& document);

// Publishes the working file over the document: temporary file beside it, flush, rename; the
// previous version becomes the ".bak"; the ".sav" is deleted. False on failure (nothing lost).
bool PublishWorkingFile(EditorContext& ctx);

// Closes and deletes the working file and releases its lock.
void DeleteWorkFiles(EditorContext& ctx);

// Autosave: one call per minute tick of the shell's timer.
void AutosaveMinuteTick(EditorContext& ctx);
void Autosave(EditorContext& ctx);
// The "Délai de sauvegarde" value: typed text clamped to 0–60 (two digits read at most).
int ClampAutosaveDelay(const std::string& typed, int previous);
// Sets the delay; the minute count restarts at 0. True when the timer must run.
bool SetAutosaveDelay(EditorContext& ctx, int minutes);

}  // namespace notavera
