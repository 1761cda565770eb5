// "Exporter MusicXML…": the file dialog, the export, and the error box when the file cannot be written.
#include "shell/musicxml_export_command.h"

#include <filesystem>

#include "edit/musicxml_export.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

void ExportMusicXmlFile(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (doc.pageCount < 1) return;
    std::filesystem::path proposed = doc.storage.path;
    if (!proposed.empty()) proposed.replace_extension(".musicxml");
    const auto chosen = ctx.ui.saveFileName(
        {"Exporter MusicXML", proposed.string(), {{"Fichiers MusicXML (*.musicxml;*.xml)", "*.musicxml *.xml"}}});
    if (!chosen || chosen->empty()) return;
    ctx.ui.setWaitCursor(true);
    const bool written = ExportMusicXml(doc, ctx.ui, *chosen);
    ctx.ui.setWaitCursor(false);
    if (!written) ShowError(ctx.ui, msg::cannotWrite, &*chosen);
}

}  // namespace

void RegisterMusicXmlExportCommand(CommandRegistry& registry) {
    registry.addCommand(cmd::ExportMusicXml, [](EditorContext& ctx, int) { ExportMusicXmlFile(ctx); });
}

}  // namespace notavera
