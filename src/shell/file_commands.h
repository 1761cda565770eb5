// The file commands of the main window (Nouveau, Ouvrir, Enregistrer, Enregistrer sous, Quitter), the question
// that protects unsaved changes, and the document named on the command line at start-up.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui_services.h"

namespace notavera {

class CommandRegistry;
class ScoreDocument;
struct EditorContext;

// Runs one of the file commands (cmd::New, Open, Save, SaveAs, Quit): 1 when it was carried out, 0 when the user
// cancelled or it failed (a failure has shown its message). Quit closes the window through the user interface.
int DoFileCommand(EditorContext& ctx, int command);

// Opens the document file `path` in place of the current document, whose work files go; a document that cannot
// be read leaves an untitled one. 1 when it was read.
int OpenDocumentFile(EditorContext& ctx, const std::filesystem::path& path);

// The filter of the document file dialogs.
const std::vector<FileFilter>& DocumentFileFilters();

// When the document is modified, asks message 66 and saves on Yes; false when the document must stay open
// (Cancel, or a Yes whose save failed).
bool ConfirmDiscard(EditorContext& ctx);

// The document path of the editor's command line: surrounding double quotes are removed when the text both
// begins and ends with one; a quote at one end only stays part of the name.
std::string DocumentPathFromCommandLine(std::string_view commandLine);

// Start-up: offers the autosave copies of untitled scores a killed session left, then opens the document of the
// command line (saying when it is read-only), or, without one or when it cannot be read, starts an
// untitled document of one page laid out by the staff layout model; without one, that first page is defined in
// the staff-layout dialog first. The document is ready afterwards and the title bar shows it. 1 when the named
// document was read.
int OpenStartDocument(EditorContext& ctx, std::string_view commandLine);

// Replaces the document by an untitled one of one page laid out by the current staff layout model.
// A document has just become the window's: it is ready to draw, its title shown, the cursor on its current
// element (past it when it ends the staff).
void ShowDocument(EditorContext& ctx);
// Where the cursor stands when a page is shown: on the current element (past it when it ends the staff), else at
// the staff's first x.
int DefaultCursorX(ScoreDocument& doc);

void StartEmptyDocument(EditorContext& ctx);

void RegisterFileCommands(CommandRegistry& registry);

}  // namespace notavera
