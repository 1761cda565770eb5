// MIDI output and input ports of the ALSA sequencer, through RtMidi.
#pragma once

#include <string>

#include "platform/midi_services.h"

namespace notavera {

// Error numbers of the ports are RtMidi's error types counted from this base.
inline constexpr int rtMidiErrorBase = 100;

// Counts are 0 when the ALSA sequencer cannot be reached.
int RtMidiOutputCount();
int RtMidiInputCount();

// Ports are numbered from 0; any other number fails with the error of an absent port.
OpenedDevice<MidiOutput> OpenRtMidiOutput(int port);
// `handler` runs on the port's own thread once the port is started.
OpenedDevice<MidiInput> OpenRtMidiInput(int port, MidiInputHandler handler);
// A new port of the sequencer that other programs read as an input, as they would read a keyboard's: what is
// sent to it reaches every client listening to it.
OpenedDevice<MidiOutput> OpenRtMidiVirtualOutput(const std::string& portName);

}  // namespace notavera
