// The play commands write the score into the private temporary "nv$$$.mid" and hand it to the sequencer.
#include "shell/playback_menu_commands.h"

#include "midi/midi_devices.h"
#include "midi/playback_file.h"
#include "midi/score_to_midi.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/playback_commands.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

constexpr int msgCannotWrite = 2;  // "Impossible d'écrire le fichier %s"

void PlayScore(EditorContext& ctx, int command, MidiDevices& devices, MidiWindow& window) {
    const std::filesystem::path file = PlaybackFilePath();
    const LastPageChoice last = ChooseLastPage(command, ctx.doc.pageCount, ctx.shell.cursor.markerPage, false);
    ctx.ui.setWaitCursor(true);
    const int written = !file.empty() && WriteScoreMidi(ctx.doc, ctx.ui, file, last.lastPage);
    ctx.ui.setWaitCursor(false);
    if (!written) {
        const std::string name = playbackFileName;
        ShowError(ctx.ui, msgCannotWrite, &name);
        return;
    }
    if (ctx.shell.cursor.markerPage != last.markerPage) {
        ctx.shell.cursor.markerPage = last.markerPage;
        UpdateTitleBar(ctx);
    }
    devices.PlayMidiFile(file, window);
}

}  // namespace

void RegisterPlaybackCommands(CommandRegistry& registry, MidiDevices& devices, MidiWindow& window) {
    for (const int command : {cmd::Play, cmd::PlayCurrentVoice}) {
        registry.addCommand(command, [&devices, &window](EditorContext& ctx, int id) {
            PlayScore(ctx, id, devices, window);
        });
    }
    registry.addCommand(cmd::PlayMidiFile, [&devices, &window](EditorContext&, int) {
        devices.PlayMidiFileCommand(window);
    });
    registry.addCommand(cmd::StopMidi, [&devices](EditorContext&, int) { devices.StopMidi(); });
}

}  // namespace notavera
