// notavera-cli export-musicxml: writes a document as a MusicXML (score-partwise) file.
#include <cstdio>

#include "cli_ui.h"
#include "commands.h"
#include "edit/musicxml_export.h"
#include "platform/headless/headless_ui.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "platform/xml/qt_xml_file.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera::cli {

int RunExportMusicXml(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli export-musicxml DOC SORTIE.musicxml\n", stderr);
        return 2;
    }
    CliUi ui(stderr);
    ui.xmlFiles = WriteXmlFile;
    EditorContext ctx(ui);
    if (InspectDocument(ctx.doc, ctx.ui, args[0]) != FileOk) return 1;
    int status = 0;
    if (!ExportMusicXml(ctx.doc, ctx.ui, args[1])) {
        ShowError(ctx.ui, msg::cannotWrite, &args[1]);
        status = 1;
    }
    DeleteWorkFiles(ctx.doc);
    return status;
}

}  // namespace notavera::cli
