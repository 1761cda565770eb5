// The command "Importer MusicXML…": a MusicXML score becomes the score of the untitled document.
#pragma once

namespace notavera {

struct EditorContext;

// Open while no document file is open and no mask page is being edited, like the other imports. Asks for the
// file, imports and lays it out under a wait cursor, and names the document after it with the extension ".mus".
// A file that cannot be read leaves the document as it was. The file is read by the interface's XML reader; without
// one the command refuses with a beep. Returns 1 when a score was imported.
int RunMusicXmlImportCommand(EditorContext& ctx);

}  // namespace notavera
