// notavera-cli import-musicxml IN.musicxml|IN.mxl OUT.mus: a new score from the default staff layout model with the
// MusicXML score laid out over as many pages as it needs, saved as OUT.mus. A file that cannot be read gives
// message 4 on standard error; what the score cannot hold is listed there once.
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "imported_score.h"
#include "musicxml/musicxml_import.h"
#include "platform/headless/headless_ui.h"
#include "platform/xml/xml_file_reader.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera::cli {

int RunImportMusicXml(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli import-musicxml IN.musicxml|IN.mxl OUT.mus\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    EditorContext ctx(ui);
    SetUpNewDocument(ctx.doc, 1);
    const XmlReading reading = ReadXmlOrContainerFile(args[0]);
    if (!ImportMusicXml(ctx.doc, reading, args[0], ui, ctx.shell.settings.distanceSteps)) return 1;
    if (!SaveImportedScore(ctx, args[1])) return 1;
    for (const MessageBoxRequest& m : ui.messages())
        if (m.caption == "Erreur") return 1;
    return 0;
}

}  // namespace notavera::cli
