// The built-in General MIDI synthesizer: FluidSynth with a SoundFont, and its live audio output chosen among
// the desktop's sound servers with a fallback.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/midi_services.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;
typedef struct _fluid_player_t fluid_player_t;

namespace notavera {

// Error numbers of the built-in synthesizer, shown with its texts.
namespace audio_error {
inline constexpr int noSoundFont = 1;
inline constexpr int badSoundFont = 2;
inline constexpr int noAudioOutput = 3;
inline constexpr int badMidiFile = 4;
inline constexpr int synthesizer = 5;
inline constexpr int wavFile = 6;
inline constexpr int tooLong = 7;
}  // namespace audio_error

struct SynthOptions {
    std::filesystem::path soundFont;  // empty: DefaultSoundFont()
    // Live output, tried in this order until one starts.
    std::vector<std::string> audioDrivers = {"pulseaudio", "pipewire", "alsa"};
    std::filesystem::path audioFile;  // what the "file" driver writes (recording, tests)
    double sampleRate = 44100.0;
    // FluidSynth's own default (0.2) leaves a piano piece at the velocities of our files 30 dB below full
    // scale; this brings one played with both hands to a few decibels below it.
    double gain = 4.0;
};

// FluidR3 when it is installed, else Debian's TimGM6mb; nothing when neither is there.
std::optional<std::filesystem::path> DefaultSoundFont();

// The last error FluidSynth reported on any thread, for the detail of our own texts. FluidSynth's messages
// are kept out of the terminal.
std::string LastFluidSynthError();

struct FluidPlayerDeleter {
    void operator()(fluid_player_t* player) const;
};
using FluidPlayer = std::unique_ptr<fluid_player_t, FluidPlayerDeleter>;

// True once the player has passed the last event of its file. FluidSynth's own end comes two seconds later
// whatever is still sounding; we end when the last notes have faded instead (see longestFade).
bool PlayerReachedEnd(fluid_player_t* player);
// The longest time the last notes are given to fade after the end of the file.
inline constexpr double longestFadeSeconds = 2.0;

// A synthesizer with its SoundFont loaded, silent until startAudio.
class FluidSynth {
public:
    static OpenedDevice<FluidSynth> create(const SynthOptions& options);
    ~FluidSynth();
    FluidSynth(const FluidSynth&) = delete;
    FluidSynth& operator=(const FluidSynth&) = delete;

    fluid_synth_t* synth() const { return synth_; }
    // A player of Standard MIDI Files through this synthesizer, with `file` queued; fails on a file that is
    // not a Standard MIDI File.
    struct OpenedPlayer {
        FluidPlayer player;
        DeviceStatus status;
    };
    OpenedPlayer makePlayer(const std::filesystem::path& file) const;

    // Starts live output on the first of `drivers` that works.
    DeviceStatus startAudio(const std::vector<std::string>& drivers);
    // Stops live output; the audio thread no longer runs when it returns.
    void stopAudio();

private:
    FluidSynth() = default;

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace notavera
