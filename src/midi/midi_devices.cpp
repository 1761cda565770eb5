// MIDI devices: output probe, input ports feeding the event ring, note preview with a timed release, and
// playback of Standard MIDI Files through the sequencer. Every device error reaches the user as the device's
// own text in a "Message" box.
#include "midi/midi_devices.h"

#include <algorithm>
#include <array>

#include "midi/note_key.h"
#include "platform/messages.h"

namespace notavera {

namespace {

// The device's error text is shown from a 256-byte buffer.
constexpr std::size_t deviceErrorCapacity = 256;

constexpr const char* outputInitError = "Initialisation midi, erreur no %d,\n%s";
constexpr const char* outputVolumeError = "Volume midi, erreur no  %d,\n%s";
constexpr const char* outputCloseError = "Initialisation midi, erreur no  %d,\n%s";

constexpr std::uint8_t noteOff = 0x80, noteOn = 0x90, controlChange = 0xB0, programChange = 0xC0,
                       channelPressure = 0xD0, pitchBend = 0xE0;
constexpr std::uint8_t previewVelocity = 64;

}  // namespace

std::chrono::milliseconds PreviewHold(int inputCycles) {
    return std::chrono::milliseconds(10 * std::clamp(inputCycles, 1, 127));
}

bool IsStepEntryEvent(std::uint32_t message) {
    const auto command = static_cast<std::uint8_t>(message & 0xF0);
    return command == noteOff || command == noteOn || command == controlChange || command == channelPressure ||
           command == pitchBend;
}

// One open input port. The driver thread reaches only this record, the ring and the window.
struct MidiDevices::InputClient {
    MidiWindow* window = nullptr;
    std::uint32_t deviceIndex = 0;
    MidiInputRing* queue = nullptr;
    std::shared_ptr<MidiOutput> echo;  // the preview output as it was when the port was opened
    std::unique_ptr<MidiInput> port;

    // On the driver's thread.
    void receive(std::uint32_t timeStamp, ShortMessage message) {
        if (echo) echo->send(message);
        queue->push({deviceIndex, timeStamp, message});
        window->postInputReady();
    }
};

// The preview output and the notes it still has to release. A release timer that fires after the output was
// closed finds the state gone and does nothing.
struct MidiDevices::PreviewState {
    std::shared_ptr<MidiOutput> out;
    std::array<unsigned, 128> pendingRelease{};  // per key, the number of the preview to release; 0 none
    unsigned lastPreview = 0;
};

MidiDevices::MidiDevices(MidiServices& services, UiServices& ui, TimerServices& timers)
    : services_(services), ui_(ui), timers_(timers) {}

MidiDevices::~MidiDevices() {
    StopMidi();
    CloseMidiDevices();
}

void MidiDevices::showDeviceMessage(const std::string& text) {
    ui_.showMessage({"Message", 0, CutUtf8(text, deviceErrorCapacity - 1), MessageIcon::Information,
                     MessageButtons::Ok});
}

void MidiDevices::showNumberedError(const char* format, const DeviceStatus& status) {
    const std::string text = CutUtf8(status.text, deviceErrorCapacity - 1);
    const MessageArg args[] = {static_cast<long>(status.code), std::string_view(text)};
    showDeviceMessage(FormatText(format, args, deviceErrorCapacity + 64));
}

void MidiDevices::setFullVolume(MidiOutput& output) {
    const MidiOutputCapabilities caps = output.capabilities();
    if (!caps.volume) return;
    const DeviceStatus status = output.setVolume(caps.separateVolume ? 0xFFFFFFFFu : 0xFFFFu);
    if (!status.ok()) showNumberedError(outputVolumeError, status);
}

int MidiDevices::CheckMidiOutput(MidiWindow& window) {
    OpenedDevice<MidiOutput> probe = services_.openOutput(0);
    if (!probe.device) {
        showNumberedError(outputInitError, probe.status);
    } else {
        previewUnavailable_ = false;
        setFullVolume(*probe.device);
        const DeviceStatus closed = probe.device->close();
        if (!closed.ok()) showNumberedError(outputCloseError, closed);
    }
    return OpenMidiInputs(window);
}

int MidiDevices::OpenMidiInputs(MidiWindow& window) {
    if (inputsOpen_) CloseMidiDevices();
    const int count = services_.inputCount();
    if (count <= 0) return 0;
    queue_ = std::make_unique<MidiInputRing>();
    for (int index = 0; index < std::min(count, maxMidiInputs); ++index) {
        auto client = std::make_unique<InputClient>();
        client->window = &window;
        client->deviceIndex = static_cast<std::uint32_t>(index);
        client->queue = queue_.get();
        client->echo = previewOut_;
        InputClient* target = client.get();
        OpenedDevice<MidiInput> opened = services_.openInput(
            index, [target](std::uint32_t timeStamp, ShortMessage message) { target->receive(timeStamp, message); });
        if (!opened.device) {
            showDeviceMessage(opened.status.text);
            continue;
        }
        client->port = std::move(opened.device);
        inputs_.push_back(std::move(client));
    }
    for (const auto& client : inputs_) {
        const DeviceStatus started = client->port->start();
        if (!started.ok()) showDeviceMessage(started.text);
    }
    inputsOpen_ = true;
    watchInputs();
    return 1;
}

void MidiDevices::watchInputs() {
    watch_ = std::make_shared<MidiDevices*>(this);
    timers_.singleShot(inputWatchPeriod, [watch = std::weak_ptr(watch_)] {
        if (const auto devices = watch.lock()) (*devices)->CheckInputsConnected();
    });
}

void MidiDevices::CheckInputsConnected() {
    for (auto it = inputs_.begin(); it != inputs_.end();) {
        if ((*it)->port->connected()) {
            ++it;
            continue;
        }
        const unsigned device = (*it)->deviceIndex;
        (*it)->port->close();
        it = inputs_.erase(it);
        showDeviceMessage("Le clavier MIDI " + std::to_string(device + 1) +
                          " s'est déconnecté : la saisie continue au clavier de l'ordinateur.");
    }
    if (inputsOpen_ && !inputs_.empty()) watchInputs();
}

void MidiDevices::CloseMidiDevices() {
    // The ports stop first: once closed, no driver thread can reach a client record or the ring.
    for (const auto& client : inputs_) client->port->close();
    inputs_.clear();
    watch_.reset();
    closePreviewOutput();
    queue_.reset();
    inputsOpen_ = false;
}

void MidiDevices::DrainMidiInput(const MidiInputEventHandler& handler) {
    // The handler may close the devices; the ring is looked up again for every event.
    while (queue_) {
        const std::optional<MidiInputEvent> event = queue_->pop();
        if (!event) return;
        if (IsStepEntryEvent(event->message) && handler) handler(*event);
    }
}

int MidiDevices::PlayMidiFile(const std::filesystem::path& file, MidiWindow& owner) {
    // The preview output would hold the synthesizer the sequencer plays through.
    closePreviewOutput();
    MidiSequencer& sequencer = services_.sequencer();
    const DeviceStatus opened = sequencer.open(file);
    if (!opened.ok()) {
        showDeviceMessage(opened.text);
        return 0;
    }
    const unsigned playback = ++playback_;
    const DeviceStatus playing = sequencer.play([&owner, playback] { owner.postPlaybackEnded(playback); });
    if (!playing.ok()) {
        sequencer.close();
        showDeviceMessage(playing.text);
        return 0;
    }
    previewUnavailable_ = false;
    return 1;
}

void MidiDevices::StopMidi() { services_.sequencer().close(); }

bool MidiDevices::OnPlaybackEnded(unsigned playback) {
    if (playback != playback_) return false;
    services_.sequencer().close();
    return true;
}

void MidiDevices::PlayMidiFileCommand(MidiWindow& window) {
    const std::optional<std::string> file = ui_.openFileName({"", "", {midiFileFilter}});
    if (file && !file->empty()) PlayMidiFile(*file, window);
}

void MidiDevices::PreviewNote(const ElementRecord& note) {
    if (preview.echoInstrument < 0) return;
    const std::optional<int> key = MidiKeyOfNote(note);
    if (!key || *key < 0 || *key > 127) return;
    if (!previewOut_) {
        if (previewUnavailable_) return;
        OpenedDevice<MidiOutput> opened = services_.openOutput(midiMapper);
        previewUnavailable_ = !opened.device;
        if (!opened.device) return;
        previewOut_ = std::move(opened.device);
        previewState_ = std::make_shared<PreviewState>();
        previewState_->out = previewOut_;
    }
    // A data byte above 127 would read as a status byte: the setting's top value plays the last program.
    const auto program = static_cast<std::uint8_t>(std::min(preview.echoInstrument, 127));
    const auto noteKey = static_cast<std::uint8_t>(*key);
    previewOut_->send(PackShortMessage(programChange, program, 0));
    previewOut_->send(PackShortMessage(noteOn, noteKey, previewVelocity));

    const unsigned number = ++previewState_->lastPreview;
    previewState_->pendingRelease[noteKey] = number;
    timers_.singleShot(PreviewHold(preview.inputCycles), [state = std::weak_ptr(previewState_), noteKey, number] {
        const std::shared_ptr<PreviewState> live = state.lock();
        // A newer preview of the same key keeps sounding until its own release.
        if (!live || live->pendingRelease[noteKey] != number) return;
        live->pendingRelease[noteKey] = 0;
        live->out->send(PackShortMessage(noteOff, noteKey, 0));
    });
}

void MidiDevices::closePreviewOutput() {
    if (!previewOut_) return;
    // Notes still waiting for their release would hang on an external synthesizer.
    for (std::size_t key = 0; key < previewState_->pendingRelease.size(); ++key) {
        if (previewState_->pendingRelease[key] != 0)
            previewOut_->send(PackShortMessage(noteOff, static_cast<std::uint8_t>(key), 0));
    }
    previewOut_->close();
    previewOut_.reset();
    previewState_.reset();
}

}  // namespace notavera
