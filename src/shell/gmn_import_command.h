// The command "Lire fichier GUIDO": a GUIDO file becomes the score of the untitled document.
#pragma once

namespace notavera {

struct EditorContext;

// The command is open only while no document file is open and no mask page is being edited.
bool GuidoImportAllowed(const EditorContext& ctx);

// Asks for the file, reads it into page 1 under a wait cursor (errors in "Erreur" boxes) and names the
// document after it with the extension ".mus", so that a later save writes a score beside the GUIDO file.
// Returns 1 when a file was read (even partly), 0 when the command was refused or cancelled.
int RunGuidoImportCommand(EditorContext& ctx);

}  // namespace notavera
