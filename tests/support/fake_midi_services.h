// Scripted MIDI devices for tests: outputs and inputs that record what the core does with them, a sequencer
// whose end the test triggers, a window that counts its notices and timers the test fires by hand.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "platform/midi_services.h"
#include "platform/timer_services.h"

namespace notavera::test {

// What every fake output of one run has received, in order, and how it was treated.
struct OutputLog {
    std::mutex mutex;
    std::vector<ShortMessage> sent;
    std::vector<std::uint32_t> volumes;
    int closes = 0;

    std::vector<ShortMessage> messages() {
        const std::lock_guard lock(mutex);
        return sent;
    }
};

class FakeOutput : public MidiOutput {
public:
    FakeOutput(OutputLog& log, MidiOutputCapabilities caps, DeviceStatus volumeResult, DeviceStatus closeResult)
        : log_(log), caps_(caps), volumeResult_(std::move(volumeResult)), closeResult_(std::move(closeResult)) {}

    MidiOutputCapabilities capabilities() const override { return caps_; }
    DeviceStatus setVolume(std::uint32_t volume) override {
        const std::lock_guard lock(log_.mutex);
        log_.volumes.push_back(volume);
        return volumeResult_;
    }
    DeviceStatus send(ShortMessage message) override {
        const std::lock_guard lock(log_.mutex);
        if (closed_) return {1, "fermé"};
        log_.sent.push_back(message);
        return {};
    }
    DeviceStatus close() override {
        const std::lock_guard lock(log_.mutex);
        closed_ = true;
        ++log_.closes;
        return closeResult_;
    }

private:
    OutputLog& log_;
    MidiOutputCapabilities caps_;
    DeviceStatus volumeResult_, closeResult_;
    bool closed_ = false;
};

// An input port; the test plays the driver by calling deliver() from any thread.
class FakeInput : public MidiInput {
public:
    FakeInput(MidiInputHandler handler, std::atomic<int>& closes) : handler_(std::move(handler)), closes_(closes) {}
    ~FakeInput() override { close(); }

    DeviceStatus start() override {
        started = true;
        return {};
    }
    void close() override {
        if (!closed.exchange(true)) ++closes_;
    }
    bool connected() override { return !unplugged; }
    void deliver(std::uint32_t timeStamp, ShortMessage message) {
        if (started && !closed) handler_(timeStamp, message);
    }

    std::atomic<bool> started = false, closed = false, unplugged = false;

private:
    MidiInputHandler handler_;
    std::atomic<int>& closes_;
};

class FakeSequencer : public MidiSequencer {
public:
    DeviceStatus open(const std::filesystem::path& file) override {
        opened.push_back(file);
        if (openResult.ok()) isOpen = true;
        return openResult;
    }
    DeviceStatus play(EndHandler onEnd) override {
        if (playResult.ok()) end = std::move(onEnd);
        return playResult;
    }
    void close() override {
        ++closes;
        isOpen = false;
        end = nullptr;
    }
    // The file played to its end.
    void finish() {
        if (end) end();
    }

    DeviceStatus openResult, playResult;
    std::vector<std::filesystem::path> opened;
    bool isOpen = false;
    int closes = 0;
    EndHandler end;
};

class FakeMidiServices : public MidiServices {
public:
    int outputCount() override { return outputs; }
    OpenedDevice<MidiOutput> openOutput(int device) override {
        openedOutputs.push_back(device);
        if (!outputOpenResult.ok()) return {nullptr, outputOpenResult};
        return {std::make_unique<FakeOutput>(log, capabilities, volumeResult, closeResult), {}};
    }
    int inputCount() override { return inputs; }
    OpenedDevice<MidiInput> openInput(int device, MidiInputHandler handler) override {
        openedInputs.push_back(device);
        if (const auto failure = failingInputs.find(device); failure != failingInputs.end())
            return {nullptr, failure->second};
        auto input = std::make_unique<FakeInput>(std::move(handler), inputCloses);
        ports[device] = input.get();
        return {std::move(input), {}};
    }
    MidiSequencer& sequencer() override { return fakeSequencer; }

    int outputs = 1;
    DeviceStatus outputOpenResult, volumeResult, closeResult;
    MidiOutputCapabilities capabilities;
    OutputLog log;
    std::vector<int> openedOutputs;

    int inputs = 0;
    std::map<int, DeviceStatus> failingInputs;
    std::vector<int> openedInputs;
    std::map<int, FakeInput*> ports;  // valid while the devices are open
    std::atomic<int> inputCloses = 0;

    FakeSequencer fakeSequencer;
};

class FakeWindow : public MidiWindow {
public:
    void postInputReady() override { ++inputNotices; }
    void postPlaybackEnded(unsigned playback) override {
        const std::lock_guard lock(mutex);
        endedPlaybacks.push_back(playback);
    }

    std::atomic<int> inputNotices = 0;
    std::mutex mutex;
    std::vector<unsigned> endedPlaybacks;
};

class ManualTimers : public TimerServices {
public:
    void singleShot(std::chrono::milliseconds delay, std::function<void()> action) override {
        pending.push_back({delay, std::move(action)});
    }
    // Runs every pending action in the order they were set.
    void fireAll() {
        auto due = std::move(pending);
        pending.clear();
        for (auto& timer : due) timer.action();
    }

    struct Timer {
        std::chrono::milliseconds delay;
        std::function<void()> action;
    };
    std::vector<Timer> pending;
};

}  // namespace notavera::test
