// The "Son" menu commands that need the window's MIDI devices: play the score or the current voice, play a MIDI
// file, stop. The window registers them with its own devices, so that a build without sound shows them grey.
#pragma once

namespace notavera {

class CommandRegistry;
class MidiDevices;
class MidiWindow;

// The handlers hold the devices and the window by reference: both must outlive the registry.
void RegisterPlaybackCommands(CommandRegistry& registry, MidiDevices& devices, MidiWindow& window);

}  // namespace notavera
