// Menu commands that hand over to the dialogs and commands of other subsystems.
#include "shell/subsystem_commands.h"

#include <system_error>

#include "midi/midi_devices.h"
#include "midi/score_to_midi.h"
#include "platform/message_ids.h"
#include "print/environment_dialog.h"
#include "print/note_options_dialogs.h"
#include "print/page_format_dialog.h"
#include "print/pagination_dialog.h"
#include "print/print_command.h"
#include "score/work_files.h"
#include "shell/musicxml_export_command.h"
#include "shell/command_ids.h"
#include "shell/midi_import_command.h"
#include "shell/midi_parameters.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/sign_characters.h"
#include "shell/gmn_import_command.h"
#include "shell/musicxml_import_command.h"
#include "shell/playback_commands.h"

namespace notavera {

namespace {

void SaveMidiFile(EditorContext& ctx) {
    const std::filesystem::path proposed =
        ctx.doc.storage.path.empty() ? std::filesystem::path() : WithExtension(ctx.doc.storage.path, ".mid");
    const auto chosen = ctx.ui.saveFileName({"Sauver fichier MIDI", proposed.string(), {midiFileFilter}});
    if (!chosen || chosen->empty()) return;
    const LastPageChoice last =
        ChooseLastPage(cmd::SaveMidiFile, ctx.doc.pageCount, ctx.shell.cursor.markerPage, false);
    ctx.ui.setWaitCursor(true);
    const int written = WriteScoreMidi(ctx.doc, ctx.ui, *chosen, last.lastPage);
    ctx.ui.setWaitCursor(false);
    if (!written) ShowError(ctx.ui, msg::cannotWrite, &*chosen);
}

// "Barre spéciale": once the bar is chosen, the next double click places it.
void ChooseSpecialBar(EditorContext& ctx) {
    if (RunSpecialBarDialog(ctx)) ctx.shell.input.mouseMode = specialBarMouseMode;
}

void ShowHelp(EditorContext& ctx) {
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !ctx.ui.showHelp(HelpFilePath(executable).string())) ctx.ui.beep();
}

void GuidoImport(EditorContext& ctx) {
    if (GuidoImportAllowed(ctx)) RunGuidoImportCommand(ctx);
}

void MidiImport(EditorContext& ctx) {
    if (MidiImportAllowed(ctx)) RunMidiImportCommand(ctx);
}

template <auto Run>
CommandHandler Handler() {
    return [](EditorContext& ctx, int) { Run(ctx); };
}

}  // namespace

std::filesystem::path HelpFilePath(const std::filesystem::path& executable) {
    // Beside the program in a build folder; installed, in the program's data folder (share/notavera).
    const std::filesystem::path beside = executable.parent_path() / "notavera.hlp";
    const std::filesystem::path installed = executable.parent_path().parent_path() / "share" / "notavera" / "notavera.hlp";
    std::error_code ec;
    return !std::filesystem::exists(beside, ec) && std::filesystem::exists(installed, ec) ? installed : beside;
}

void RegisterSubsystemCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::PageFormat, Handler<RunPageFormatDialog>());
    registry.addCommand(cmd::Pagination, Handler<RunPaginationDialog>());
    registry.addCommand(cmd::HeaderFooter, Handler<RunPaginationDialog>());
    registry.addCommand(cmd::EnvironmentSettings, Handler<RunEnvironmentDialog>());
    registry.addCommand(cmd::SpecialBar, Handler<ChooseSpecialBar>());
    registry.addCommand(cmd::ReadGuido, Handler<GuidoImport>());
    registry.addCommand(cmd::ImportMusicXml, Handler<RunMusicXmlImportCommand>());
    registry.addCommand(cmd::ReadMidiFile, Handler<MidiImport>());
    registry.addCommand(cmd::SaveMidiFile, Handler<SaveMidiFile>());
    // Both dialogs change the document as the user types, so the step is saved before they open.
    registry.addCommand(cmd::MidiSettings, Handler<RunMidiParamDialog>(), UndoPolicy::Step);
    registry.addCommand(cmd::IdentifyVoices, Handler<RunVoiceDialog>(), UndoPolicy::Step);
    RegisterPrintCommand(registry);
    RegisterMusicXmlExportCommand(registry);
    registry.addCommand(cmd::About, [](EditorContext& ctx, int) { ctx.ui.showAbout(); });
    registry.addCommand(cmd::Help, Handler<ShowHelp>());
}

}  // namespace notavera
