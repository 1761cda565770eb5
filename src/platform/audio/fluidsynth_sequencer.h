// The sequencer of the Linux build: plays a Standard MIDI File through the built-in FluidSynth synthesizer on
// the desktop's audio output, and reports the end of the file from a watcher thread.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/audio/fluidsynth_synth.h"
#include "platform/midi_services.h"

namespace notavera {

class FluidSynthSequencer : public MidiSequencer {
public:
    explicit FluidSynthSequencer(SynthOptions options = {}) : options_(std::move(options)) {}
    ~FluidSynthSequencer() override { close(); }

    DeviceStatus open(const std::filesystem::path& file) override;
    DeviceStatus play(EndHandler onEnd) override;
    void close() override;

private:
    // The watcher: waits for the player to finish and for the last notes to die away, then reports the end.
    void watch(EndHandler onEnd);
    // Waits `delay` unless close() asks to stop first; true when asked to stop.
    bool stopRequestedWithin(std::chrono::milliseconds delay);

    SynthOptions options_;
    std::unique_ptr<FluidSynth> synth_;
    FluidPlayer player_;
    std::thread watcher_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopRequested_ = false;  // under mutex_
};

}  // namespace notavera
