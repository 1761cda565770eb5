// The files around a document: the working file, the ".bak" backup, the ".sav" autosave copy;
// publishing the working file, the recovery check and the autosave copy.
#pragma once

#include <filesystem>
#include <string>

#include "score/file_copy.h"
#include "score/work_folder.h"

namespace notavera {

class ScoreDocument;
class UiServices;
struct DocumentStorage;

// The working file of a document: its name with the last character replaced by 'm' and the
// third-from-last by 's' (song.mus → song.sum), in the document's work folder. A name that the rule
// would leave unchanged (song.sum itself) or that is too short gets ".sum" appended instead.
std::filesystem::path WorkingFileName(const std::filesystem::path& document);
// The path with its extension (from the last '.' of its file name) replaced: ".bak", ".sav", ".mus".
// A name without a '.' gets the extension appended.
std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& extension);
// The backup beside the document ("song.bak") and the autosave copy in its work folder ("song.sav").
// A document that already bears that extension gets it appended, so that neither ever replaces it.
std::filesystem::path BackupName(const std::filesystem::path& document);
std::filesystem::path AutosaveName(const std::filesystem::path& document);

// Takes the working file of the document: refuses (with the system's message) a document that
// another running instance holds, runs the recovery check (message 72) when `recoveryCheck` is on,
// then copies the document over the working file. On success the storage names the document
// and its working file; the working files of a different document opened before are deleted.
// False (with the message shown) when the working file cannot be made or is held elsewhere.
bool PrepareWorkingFile(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& document,
                        bool recoveryCheck);

// Gives the document the name it will be saved under (a new document, or a save under another
// name): takes the lock of the new working file and moves an existing working file to its new name.
// False, with the message shown, when another running instance holds that document.
bool NameDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& document);

// Publishes the working file over the document: a copy staged beside it, flushed, renamed over it;
// the previous version becomes the ".bak" (a document that did not exist yet gets none); the ".sav"
// is deleted and the file state becomes Open. False on failure: the document, its ".bak" and its
// ".sav" are as they were, and the file state is unchanged so that the next save publishes again.
bool PublishWorkingFile(ScoreDocument& doc);

// Closes and deletes the working file, and the undo steps kept beside it, and releases its lock; an untitled
// score's autosave copy goes too.
void DeleteWorkFiles(ScoreDocument& doc);

// Where the autosave copy of the document goes: its ".sav", or for an untitled score the ".sav" beside its
// working file. Empty while the document has neither name nor working file.
std::filesystem::path AutosaveCopyName(const DocumentStorage& storage);

// Gives an untitled score a working file of its own in the untitled scores' folder ("sans-nom-XXXXXX.sum"), held
// by its lock, so that it autosaves like a named one. False when none can be made: it then works in memory.
bool GiveUntitledWorkingFile(ScoreDocument& doc);

// Offers the autosave copies of untitled scores whose session ended without closing them (message 72, as for a
// named document's ".sav"), then deletes them with their working files. Scores still edited are left alone.
void RecoverUntitledScores(UiServices& ui);

// The autosave copy: a modified document that has a file is saved into its working file (without
// publishing: it stays modified with respect to its published version) and copied to its ".sav".
// The current place is kept.
void Autosave(ScoreDocument& doc, UiServices& ui);

}  // namespace notavera
