// The "Son" menu commands that need the window's MIDI devices: play the score or the current voice, play a MIDI
// file, stop. The window registers them with its own devices, so that a build without sound shows them grey.
#pragma once

#include <optional>

#include "shell/cursor_state.h"

namespace notavera {

class CommandRegistry;
class MidiDevices;
class MidiWindow;
struct EditorContext;

// What the play commands leave for the end of playback: the marked region being played, still highlighted.
struct PlaybackState {
    std::optional<ZoneRectangle> playedRegion;
};

// The handlers hold the devices, the window and the state by reference: all must outlive the registry.
void RegisterPlaybackCommands(CommandRegistry& registry, MidiDevices& devices, MidiWindow& window,
                              PlaybackState& state);

// Playback has ended or was stopped: the region it played is no longer highlighted, unless the user has marked
// another one meanwhile.
void EndRegionPlayback(EditorContext& ctx, PlaybackState& state);

}  // namespace notavera
