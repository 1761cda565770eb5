// ALSA sequencer ports through RtMidi. RtMidi reports errors by exceptions or by a callback; both become device
// statuses here, so nothing is thrown past this file and nothing is printed on the terminal.
#include "platform/audio/rtmidi_ports.h"

#include <alsa/asoundlib.h>
#include <rtmidi/RtMidi.h>

#include <chrono>
#include <mutex>
#include <optional>
#include <string>

#include "platform/audio/alsa_quiet.h"

namespace notavera {

namespace {

constexpr const char* clientName = "Notavera";

DeviceStatus portError(RtMidiError::Type type, const std::string& detail) {
    return {rtMidiErrorBase + static_cast<int>(type), "Port MIDI indisponible\n" + detail};
}

// Collects what RtMidi reports through its error callback; warnings are not failures.
struct ErrorSink {
    std::optional<DeviceStatus> failure;

    static void receive(RtMidiError::Type type, const std::string& text, void* sink) {
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
        auto& self = *static_cast<ErrorSink*>(sink);
        if (!self.failure) self.failure = portError(type, text);
    }
};

// Bytes of a short message, from its status byte.
std::size_t messageLength(std::uint8_t status) {
    if (status < 0xF0) return (status & 0xE0) == 0xC0 ? 2 : 3;
    if (status == 0xF1 || status == 0xF3) return 2;
    if (status == 0xF2) return 3;
    return 1;
}

// RtMidi prints on the terminal when it cannot reach the sequencer, before throwing: we look first.
std::optional<DeviceStatus> sequencerUnreachable() {
    SilenceAlsaLibrary();
    snd_seq_t* sequencer = nullptr;
    const int error = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0);
    if (error < 0) return portError(RtMidiError::DRIVER_ERROR, std::string("Séquenceur ALSA : ") + snd_strerror(error));
    snd_seq_close(sequencer);
    return std::nullopt;
}

// A port object of RtMidi made with its error callback set, or the reason it could not be made.
template <typename Port>
std::unique_ptr<Port> makePort(ErrorSink& sink) {
    if (std::optional<DeviceStatus> unreachable = sequencerUnreachable()) {
        sink.failure = std::move(unreachable);
        return nullptr;
    }
    try {
        auto port = std::make_unique<Port>(RtMidi::LINUX_ALSA, clientName);
        port->setErrorCallback(&ErrorSink::receive, &sink);
        return port;
    } catch (const RtMidiError& e) {
        sink.failure = portError(e.getType(), e.getMessage());
        return nullptr;
    }
}

template <typename Port>
int portCount() {
    ErrorSink sink;
    const std::unique_ptr<Port> port = makePort<Port>(sink);
    return port ? static_cast<int>(port->getPortCount()) : 0;
}

class RtMidiOutput : public MidiOutput {
public:
    explicit RtMidiOutput(std::unique_ptr<RtMidiOut> out, std::unique_ptr<ErrorSink> sink)
        : sink_(std::move(sink)), out_(std::move(out)) {}
    ~RtMidiOutput() override { close(); }

    MidiOutputCapabilities capabilities() const override { return {}; }
    DeviceStatus setVolume(std::uint32_t) override {
        return {rtMidiErrorBase + RtMidiError::INVALID_USE, "Le volume de ce port MIDI n'est pas réglable"};
    }

    DeviceStatus send(ShortMessage message) override {
        const std::lock_guard lock(mutex_);
        if (!out_) return {rtMidiErrorBase + RtMidiError::INVALID_USE, "Port MIDI fermé"};
        const auto status = static_cast<std::uint8_t>(message & 0xFF);
        if (status < 0x80) return {rtMidiErrorBase + RtMidiError::INVALID_PARAMETER, "Message MIDI sans octet d'état"};
        const unsigned char bytes[3] = {status, static_cast<unsigned char>((message >> 8) & 0x7F),
                                        static_cast<unsigned char>((message >> 16) & 0x7F)};
        sink_->failure.reset();
        out_->sendMessage(bytes, messageLength(status));
        return sink_->failure.value_or(DeviceStatus{});
    }

    DeviceStatus close() override {
        const std::lock_guard lock(mutex_);
        out_.reset();
        return {};
    }

private:
    std::mutex mutex_;
    std::unique_ptr<ErrorSink> sink_;
    std::unique_ptr<RtMidiOut> out_;
};

class RtMidiInput : public MidiInput {
public:
    RtMidiInput(std::unique_ptr<RtMidiIn> in, std::unique_ptr<ErrorSink> sink, MidiInputHandler handler,
                std::string source)
        : sink_(std::move(sink)), in_(std::move(in)), handler_(std::move(handler)), source_(std::move(source)) {}
    ~RtMidiInput() override { close(); }

    DeviceStatus start() override {
        if (!in_) return {rtMidiErrorBase + RtMidiError::INVALID_USE, "Port MIDI fermé"};
        started_ = std::chrono::steady_clock::now();
        sink_->failure.reset();
        in_->setCallback(&RtMidiInput::receive, this);
        return sink_->failure.value_or(DeviceStatus{});
    }

    void close() override {
        if (!in_) return;
        // Closing joins RtMidi's input thread: no callback runs after this.
        in_->closePort();
        in_.reset();
    }

    // The port is still listed by the sequencer. A fresh client looks, so that nothing is asked of the one whose
    // input thread is running.
    bool connected() override {
        ErrorSink sink;
        const std::unique_ptr<RtMidiIn> lister = makePort<RtMidiIn>(sink);
        if (!lister) return true;  // the sequencer itself is out of reach: nothing to say about this port
        for (unsigned i = 0; i < lister->getPortCount(); ++i) {
            if (lister->getPortName(i) == source_) return true;
        }
        return false;
    }

private:
    // On RtMidi's input thread. Messages longer than three bytes (system exclusive) are not short messages.
    static void receive(double, std::vector<unsigned char>* message, void* self) {
        auto& input = *static_cast<RtMidiInput*>(self);
        if (!message || message->empty() || message->size() > 3) return;
        ShortMessage packed = 0;
        for (std::size_t i = 0; i < message->size(); ++i) packed |= ShortMessage{(*message)[i]} << (8 * i);
        const auto elapsed = std::chrono::steady_clock::now() - input.started_;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
        input.handler_(static_cast<std::uint32_t>(ms), packed);
    }

    std::unique_ptr<ErrorSink> sink_;
    std::unique_ptr<RtMidiIn> in_;
    MidiInputHandler handler_;
    std::string source_;  // the name of the port we listen to, as the sequencer lists it
    std::chrono::steady_clock::time_point started_;
};

// Opens port number `port` of a new RtMidi object of type Port.
template <typename Port>
std::unique_ptr<Port> openPort(int port, const std::string& portName, ErrorSink& sink) {
    std::unique_ptr<Port> device = makePort<Port>(sink);
    if (!device) return nullptr;
    if (port < 0 || static_cast<unsigned>(port) >= device->getPortCount()) {
        sink.failure = portError(RtMidiError::INVALID_DEVICE, "Port MIDI " + std::to_string(port) + " absent");
        return nullptr;
    }
    device->openPort(static_cast<unsigned>(port), portName);
    return sink.failure ? nullptr : std::move(device);
}

}  // namespace

int RtMidiOutputCount() { return portCount<RtMidiOut>(); }
int RtMidiInputCount() { return portCount<RtMidiIn>(); }

OpenedDevice<MidiOutput> OpenRtMidiOutput(int port) {
    auto sink = std::make_unique<ErrorSink>();
    std::unique_ptr<RtMidiOut> out = openPort<RtMidiOut>(port, "Notavera sortie", *sink);
    if (!out) return {nullptr, *sink->failure};
    return {std::make_unique<RtMidiOutput>(std::move(out), std::move(sink)), {}};
}

OpenedDevice<MidiOutput> OpenRtMidiVirtualOutput(const std::string& portName) {
    auto sink = std::make_unique<ErrorSink>();
    std::unique_ptr<RtMidiOut> out = makePort<RtMidiOut>(*sink);
    if (!out) return {nullptr, *sink->failure};
    try {
        out->openVirtualPort(portName);
    } catch (const RtMidiError& e) {
        return {nullptr, portError(e.getType(), e.getMessage())};
    }
    if (sink->failure) return {nullptr, *sink->failure};
    return {std::make_unique<RtMidiOutput>(std::move(out), std::move(sink)), {}};
}

OpenedDevice<MidiInput> OpenRtMidiInput(int port, MidiInputHandler handler) {
    auto sink = std::make_unique<ErrorSink>();
    std::unique_ptr<RtMidiIn> in = openPort<RtMidiIn>(port, "Notavera entrée " + std::to_string(port), *sink);
    if (!in) return {nullptr, *sink->failure};
    std::string source = in->getPortName(static_cast<unsigned>(port));
    return {std::make_unique<RtMidiInput>(std::move(in), std::move(sink), std::move(handler), std::move(source)), {}};
}

}  // namespace notavera
