// The command "Importer MusicXML…": a MusicXML score becomes the score of the untitled document.
#pragma once

#include <functional>
#include <string>

#include "platform/xml_tree.h"

namespace notavera {

struct EditorContext;

// Reads an XML file, or the root file of a compressed MusicXML container, into an element tree.
using XmlFileReader = std::function<XmlReading(const std::string& path)>;

// The program's XML reader (QtCore's), which the core has none of: the editor and the command-line tool give it
// once at start-up. Without one the command refuses with a beep.
void ProvideXmlFileReader(XmlFileReader reader);

// Open while no document file is open and no mask page is being edited, like the other imports. Asks for the
// file, imports and lays it out under a wait cursor, and names the document after it with the extension ".mus".
// A file that cannot be read leaves the document as it was. Returns 1 when a score was imported.
int RunMusicXmlImportCommand(EditorContext& ctx);

}  // namespace notavera
