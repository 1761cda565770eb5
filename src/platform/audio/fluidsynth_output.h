// The built-in synthesizer as a MIDI output: short messages sound at once on the desktop's audio output.
#pragma once

#include <mutex>

#include "platform/audio/fluidsynth_synth.h"
#include "platform/midi_services.h"

namespace notavera {

class FluidSynthOutput : public MidiOutput {
public:
    // Loads the SoundFont and starts live audio.
    static OpenedDevice<MidiOutput> open(const SynthOptions& options);
    ~FluidSynthOutput() override { close(); }

    MidiOutputCapabilities capabilities() const override { return {true, false}; }
    // Full volume is the synthesizer's usual gain; lower volumes scale it down.
    DeviceStatus setVolume(std::uint32_t volume) override;
    DeviceStatus send(ShortMessage message) override;
    DeviceStatus close() override;

private:
    explicit FluidSynthOutput(std::unique_ptr<FluidSynth> synth);

    std::mutex mutex_;  // a send from the echo thread never meets a close half done
    std::unique_ptr<FluidSynth> synth_;
    float fullGain_;
};

}  // namespace notavera
