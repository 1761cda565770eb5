// Offline rendering of a Standard MIDI File to a WAV file with the built-in synthesizer, as fast as the
// machine allows and without any audio device.
#pragma once

#include <chrono>
#include <filesystem>

#include "platform/audio/fluidsynth_synth.h"

namespace notavera {

// Renders the whole file, then lets the last notes fade (two seconds at most). A file that would play longer
// than `longest` is refused. On failure no WAV file is left behind.
DeviceStatus RenderMidiToWav(const std::filesystem::path& midiFile, const std::filesystem::path& wavFile,
                             const SynthOptions& options = {},
                             std::chrono::seconds longest = std::chrono::hours(2));

}  // namespace notavera
