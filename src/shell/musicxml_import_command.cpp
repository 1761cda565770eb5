// "Importer MusicXML…": the file dialog, the reading through the platform's XML reader, the import and the naming.
#include "shell/musicxml_import_command.h"

#include "musicxml/musicxml_import.h"
#include "score/new_document.h"
#include "shell/editor_context.h"
#include "shell/gmn_import_command.h"
#include "shell/title_bar.h"

namespace notavera {

int RunMusicXmlImportCommand(EditorContext& ctx) {
    // The same state as the GUIDO import: an untitled document that no file backs.
    if (!GuidoImportAllowed(ctx)) return 0;
    const XmlFileReader& read = ctx.ui.xmlReader();
    if (!read) {
        ctx.ui.beep();
        return 0;
    }
    const FileDialogRequest request{
        "Importer MusicXML", "", {FileFilter{"Fichiers MusicXML (*.musicxml *.xml *.mxl)", "*.musicxml *.xml *.mxl *.MXL *.XML"}}};
    const auto chosen = ctx.ui.openFileName(request);
    if (!chosen || chosen->empty()) return 0;
    ctx.ui.setWaitCursor(true);
    const XmlReading reading = read(*chosen);
    ScoreDocument& doc = ctx.doc;
    if (!doc.findPage(1)) SetUpNewDocument(doc, 1);
    const int imported = ImportMusicXml(doc, reading, *chosen, ctx.ui, ctx.shell.settings.distanceSteps);
    ctx.ui.setWaitCursor(false);
    if (!imported) return 0;
    doc.storage.path = *chosen;
    doc.storage.path.replace_extension(".mus");
    UpdateTitleBar(ctx);
    return 1;
}

}  // namespace notavera
