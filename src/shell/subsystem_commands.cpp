// Menu commands that hand over to the dialogs and commands of other subsystems.
#include "shell/subsystem_commands.h"

#include <system_error>

#include "midi/midi_devices.h"
#include "midi/score_to_midi.h"
#include "print/environment_dialog.h"
#include "print/note_options_dialogs.h"
#include "print/page_format_dialog.h"
#include "print/pagination_dialog.h"
#include "score/work_files.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/sign_characters.h"
#include "shell/gmn_import_command.h"
#include "shell/playback_commands.h"

namespace notavera {

namespace {

constexpr int msgCannotWrite = 2;  // "Impossible d'écrire le fichier %s"

void SaveMidiFile(EditorContext& ctx) {
    const std::filesystem::path proposed =
        ctx.doc.storage.path.empty() ? std::filesystem::path() : WithExtension(ctx.doc.storage.path, ".mid");
    const auto chosen = ctx.ui.saveFileName({"Sauver fichier MIDI", proposed.string(), {midiFileFilter}});
    if (!chosen || chosen->empty()) return;
    const LastPageChoice last =
        ChooseLastPage(commandSaveMidiFile, ctx.doc.pageCount, ctx.shell.cursor.markerPage, false);
    ctx.ui.setWaitCursor(true);
    const int written = WriteScoreMidi(ctx.doc, ctx.ui, *chosen, last.lastPage);
    ctx.ui.setWaitCursor(false);
    if (!written) ShowError(ctx.ui, msgCannotWrite, &*chosen);
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

template <auto Run>
CommandHandler Handler() {
    return [](EditorContext& ctx, int) { Run(ctx); };
}

}  // namespace

std::filesystem::path HelpFilePath(const std::filesystem::path& executable) {
    return executable.parent_path() / "notavera.hlp";
}

void RegisterSubsystemCommands(CommandRegistry& registry) {
    registry.addCommand(60, Handler<RunPageFormatDialog>());    // Format
    registry.addCommand(614, Handler<RunPaginationDialog>());   // Pagination/Marques de coupe
    registry.addCommand(615, Handler<RunPaginationDialog>());   // Entête/Pied de page
    registry.addCommand(335, Handler<RunEnvironmentDialog>());  // Variables d'environnement
    registry.addCommand(379, Handler<RunNoteHeadDialog>());     // Notes (Têtes de)
    registry.addCommand(369, Handler<RunAccentDialog>());       // Staccato (Type de)
    registry.addCommand(359, Handler<ChooseSpecialBar>());      // Barre spéciale
    registry.addCommand(readGuidoCommand, Handler<GuidoImport>());
    registry.addCommand(commandSaveMidiFile, Handler<SaveMidiFile>());
    registry.addCommand(9, [](EditorContext& ctx, int) { ctx.ui.showAbout(); });
    registry.addCommand(901, Handler<ShowHelp>());
}

}  // namespace notavera
