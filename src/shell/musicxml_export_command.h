// "Exporter MusicXML…": the score written as a MusicXML file the user names.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

void RegisterMusicXmlExportCommand(CommandRegistry& registry);

}  // namespace notavera
