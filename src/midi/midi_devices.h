// The conversation with the machine's MIDI devices: the start-up check of the output, the input ports and
// their event ring, the note preview, and the sequencer that plays Standard MIDI Files.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "midi/midi_input_ring.h"
#include "platform/midi_services.h"
#include "platform/timer_services.h"
#include "platform/ui_services.h"
#include "score/records.h"

namespace notavera {

// At most this many input ports are opened, the first ones in device order.
inline constexpr int maxMidiInputs = 8;
// How often the open input ports are checked for a device that has gone.
inline constexpr std::chrono::milliseconds inputWatchPeriod{2000};

// The filter of the dialogs that choose a Standard MIDI File.
inline const FileFilter midiFileFilter{"Fichiers MIDI (*.mid)", "*.mid"};

// Settings of the note preview; they belong to the session, not to a document.
struct PreviewSettings {
    int echoInstrument = 1;  // "Echo clavier (instr. ou -1):", a General MIDI program; −1 keeps notes silent
    int inputCycles = 40;    // "Cycles entrée MIDI:", 1–127, how long a previewed note sounds
};

// How long a previewed note is held: 10 ms per input cycle (1–127, out-of-range values clamped).
std::chrono::milliseconds PreviewHold(int inputCycles);

// True for the events step entry takes: note off, note on, control change, channel pressure and pitch bend.
bool IsStepEntryEvent(std::uint32_t message);

using MidiInputEventHandler = std::function<void(const MidiInputEvent&)>;

class MidiDevices {
public:
    MidiDevices(MidiServices& services, UiServices& ui, TimerServices& timers);
    // Stops playback and closes every device.
    ~MidiDevices();
    MidiDevices(const MidiDevices&) = delete;
    MidiDevices& operator=(const MidiDevices&) = delete;

    // At start-up, once the main window exists: probes output device 0, then opens the inputs. Returns the
    // result of OpenMidiInputs.
    int CheckMidiOutput(MidiWindow& window);
    // Opens up to 8 input ports feeding one ring, each posting to `window` when an event arrives. 1 when the
    // ports are open (even if some failed and were skipped), 0 when there is no input device.
    int OpenMidiInputs(MidiWindow& window);
    // Closes the input ports, the preview output and the ring.
    void CloseMidiDevices();
    // Closes the input ports whose device has gone, saying so once for each; the others go on, and so does
    // entry from the computer's keyboard. The open ports are looked at every inputWatchPeriod.
    void CheckInputsConnected();
    // On the user-interface thread, when the window got the input-ready notice: empties the ring and hands
    // every step-entry event to `handler` in arrival order; other events are dropped.
    void DrainMidiInput(const MidiInputEventHandler& handler);

    // Plays the file through the sequencer; `owner` hears of its end. 1 when playback started, 0 after
    // showing the device's error.
    int PlayMidiFile(const std::filesystem::path& file, MidiWindow& owner);
    // "&Au secours...(stop MIDI)": stops any playback; harmless when nothing plays.
    void StopMidi();
    // On the user-interface thread, when the window got the end-of-playback notice: closes the sequencer
    // unless a newer playback has started since. True when the notice was the latest playback's.
    bool OnPlaybackEnded(unsigned playback);
    // "Jouer un fichier MIDI": asks for a file and plays it.
    void PlayMidiFileCommand(MidiWindow& window);

    // Sounds one note of the score on the default synthesizer and releases it after the preview hold, from a
    // timer, so that the interface stays responsive meanwhile. When the synthesizer cannot be opened the notes
    // stay silent, and it is not tried again until a probe or a playback has found the sound working: each try
    // loads the synthesizer and would hold the interface at every note entered.
    void PreviewNote(const ElementRecord& note);

    PreviewSettings preview;

    bool inputsOpen() const { return inputsOpen_; }
    const MidiInputRing* inputQueue() const { return queue_.get(); }
    bool previewOutputOpen() const { return previewOut_ != nullptr; }

private:
    struct InputClient;
    struct PreviewState;

    void showDeviceMessage(const std::string& text);
    void showNumberedError(const char* format, const DeviceStatus& status);
    void setFullVolume(MidiOutput& output);
    void closePreviewOutput();
    void watchInputs();

    MidiServices& services_;
    UiServices& ui_;
    TimerServices& timers_;

    bool inputsOpen_ = false;
    std::unique_ptr<MidiInputRing> queue_;
    std::vector<std::unique_ptr<InputClient>> inputs_;
    std::shared_ptr<MidiOutput> previewOut_;
    std::shared_ptr<PreviewState> previewState_;
    bool previewUnavailable_ = false;  // the last opening of the preview output failed
    unsigned playback_ = 0;  // number of the latest playback started
    std::shared_ptr<MidiDevices*> watch_;  // the pending watch timer finds it reset once the inputs are closed
};

}  // namespace notavera
