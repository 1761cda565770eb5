// Numbering the Linux MIDI devices and opening them. The built-in synthesizer comes first so that a machine
// without any MIDI hardware still has a working default output.
#include "platform/audio/audio_midi_services.h"

#include "platform/audio/fluidsynth_output.h"
#include "platform/audio/rtmidi_ports.h"

namespace notavera {

AudioMidiServices::AudioMidiServices(SynthOptions options) : options_(options), sequencer_(std::move(options)) {}

int AudioMidiServices::outputCount() { return 1 + RtMidiOutputCount(); }

OpenedDevice<MidiOutput> AudioMidiServices::openOutput(int device) {
    if (device == midiMapper || device == 0) return FluidSynthOutput::open(options_);
    return OpenRtMidiOutput(device - 1);  // the ports follow the synthesizer
}

int AudioMidiServices::inputCount() { return RtMidiInputCount(); }

OpenedDevice<MidiInput> AudioMidiServices::openInput(int device, MidiInputHandler handler) {
    return OpenRtMidiInput(device, std::move(handler));
}

}  // namespace notavera
