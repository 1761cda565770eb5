// The MIDI services of the Linux build: output device 0 (and the default output) is the built-in FluidSynth
// synthesizer, the ALSA sequencer's ports follow it; inputs are the ALSA sequencer's; files play on FluidSynth.
#pragma once

#include "platform/audio/fluidsynth_sequencer.h"
#include "platform/audio/fluidsynth_synth.h"
#include "platform/midi_services.h"

namespace notavera {

class AudioMidiServices : public MidiServices {
public:
    explicit AudioMidiServices(SynthOptions options = {});

    int outputCount() override;
    OpenedDevice<MidiOutput> openOutput(int device) override;
    int inputCount() override;
    OpenedDevice<MidiInput> openInput(int device, MidiInputHandler handler) override;
    MidiSequencer& sequencer() override { return sequencer_; }

private:
    SynthOptions options_;
    FluidSynthSequencer sequencer_;
};

}  // namespace notavera
