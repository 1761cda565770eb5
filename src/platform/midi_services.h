// What the core asks of the machine's MIDI and audio services: output ports that take short messages, input
// ports that deliver on a driver thread, and the sequencer that plays a Standard MIDI File and reports its end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace notavera {

// The outcome of a device call: code 0 when it worked, otherwise the device's error number and its own text.
struct DeviceStatus {
    int code = 0;
    std::string text;

    bool ok() const { return code == 0; }
    static DeviceStatus success() { return {}; }
};

// A short MIDI message packed into one word: status byte in the low byte, then data 1, then data 2.
using ShortMessage = std::uint32_t;

constexpr ShortMessage PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    return ShortMessage{status} | ShortMessage{data1} << 8 | ShortMessage{data2} << 16;
}

// The output device number that stands for the system's default synthesizer.
inline constexpr int midiMapper = -1;

struct MidiOutputCapabilities {
    bool volume = false;          // the device volume can be set
    bool separateVolume = false;  // left and right separately
};

// One open MIDI output.
class MidiOutput {
public:
    virtual ~MidiOutput() = default;

    virtual MidiOutputCapabilities capabilities() const = 0;
    // Left volume in the low 16 bits, right volume in the high 16 bits (0xFFFF full); a device without separate
    // volumes takes the low half.
    virtual DeviceStatus setVolume(std::uint32_t volume) = 0;
    // Safe from any thread: the keyboard echo sends from the input driver's thread while the user interface
    // sends note previews.
    virtual DeviceStatus send(ShortMessage message) = 0;
    // Closes the device; a second close does nothing and succeeds.
    virtual DeviceStatus close() = 0;
};

// Runs on the input driver's own thread for each short message received: milliseconds since the port was
// started, and the packed message. It must not block.
using MidiInputHandler = std::function<void(std::uint32_t timeStampMs, ShortMessage message)>;

// One open MIDI input.
class MidiInput {
public:
    virtual ~MidiInput() = default;

    // Starts delivering received messages to the handler given when the port was opened.
    virtual DeviceStatus start() = 0;
    // Stops delivery and closes the port. When it returns the handler is neither running nor called again.
    virtual void close() = 0;
    // False once the device behind the port has gone (a keyboard unplugged). Asked on the user-interface thread.
    virtual bool connected() { return true; }
};

// A device just opened, or the reason it could not be.
template <typename Device>
struct OpenedDevice {
    std::unique_ptr<Device> device;  // null on failure
    DeviceStatus status;
};

// The player of Standard MIDI Files: open a file, play it, close it.
class MidiSequencer {
public:
    // Called once, on the sequencer's own thread, when the file has played to its end (never after close()
    // stopped it). It must only hand the news over to the user-interface thread; it must not call close().
    using EndHandler = std::function<void()>;

    virtual ~MidiSequencer() = default;

    // Loads the file and readies the synthesizer and the audio output; closes what was open before.
    virtual DeviceStatus open(const std::filesystem::path& file) = 0;
    // Starts playing the open file.
    virtual DeviceStatus play(EndHandler onEnd) = 0;
    // Stops playback and releases the devices. Harmless when nothing is open; waits until the end handler can
    // no longer be called.
    virtual void close() = 0;
};

// The machine's MIDI devices.
class MidiServices {
public:
    virtual ~MidiServices() = default;

    virtual int outputCount() = 0;
    // Device 0 .. outputCount() − 1, or midiMapper.
    virtual OpenedDevice<MidiOutput> openOutput(int device) = 0;
    virtual int inputCount() = 0;
    virtual OpenedDevice<MidiInput> openInput(int device, MidiInputHandler handler) = 0;
    virtual MidiSequencer& sequencer() = 0;
};

// How the devices reach the main window. Both calls come from foreign threads (an input driver, the sequencer)
// and must only post a message: the window answers on the user-interface thread by calling
// MidiDevices::DrainMidiInput and MidiDevices::OnPlaybackEnded.
class MidiWindow {
public:
    virtual ~MidiWindow() = default;

    virtual void postInputReady() = 0;
    // `playback` names the playback that ended, so that a late notice cannot stop a newer one.
    virtual void postPlaybackEnded(unsigned playback) = 0;
};

}  // namespace notavera
