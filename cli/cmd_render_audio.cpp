// notavera-cli render-audio: a Standard MIDI File rendered offline to a WAV file by the built-in synthesizer.
#include <cstdio>

#include "commands.h"
#include "platform/audio/fluidsynth_renderer.h"

namespace notavera::cli {

int RunRenderAudio(const Args& args) {
    if (args.size() != 2) {
        std::fputs("usage: notavera-cli render-audio FICHIER.mid SORTIE.wav\n", stderr);
        return 2;
    }
    const DeviceStatus status = RenderMidiToWav(args[0], args[1]);
    if (!status.ok()) {
        std::fprintf(stderr, "%s\n", status.text.c_str());
        return 1;
    }
    return 0;
}

}  // namespace notavera::cli
