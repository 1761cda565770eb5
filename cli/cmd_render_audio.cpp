// notavera-cli render-audio: a Standard MIDI File rendered offline to a WAV file by the built-in synthesizer.
#include <cstdio>

#include "commands.h"
#include "platform/audio/fluidsynth_renderer.h"
#include "platform/headless/headless_ui.h"
#include "shell/messages.h"

namespace notavera::cli {

namespace {

constexpr int cannotWriteMessage = 2;

// The box the editor would show: the file message for the WAV file, the device's text for the rest.
void report(const DeviceStatus& status, const std::string& wavFile) {
    HeadlessUi ui(stderr);
    if (status.code == audio_error::wavFile)
        MessageWithName(ui, cannotWriteMessage, wavFile);
    else
        ui.showMessage({"Message", 0, status.text, MessageIcon::Information, MessageButtons::Ok});
}

}  // namespace

int RunRenderAudio(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli render-audio FICHIER.mid SORTIE.wav\n", stderr);
        return 2;
    }
    const DeviceStatus status = RenderMidiToWav(args[0], args[1]);
    if (status.ok()) return 0;
    report(status, args[1]);
    return 1;
}

}  // namespace notavera::cli
