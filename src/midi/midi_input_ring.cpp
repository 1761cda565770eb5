// The lock-free hand-over of received MIDI events between the input drivers and the user-interface thread.
#include "midi/midi_input_ring.h"

namespace notavera {

namespace {

class ProducerTurn {
public:
    explicit ProducerTurn(std::atomic_flag& busy) : busy_(busy) {
        while (busy_.test_and_set(std::memory_order_acquire)) busy_.wait(true, std::memory_order_relaxed);
    }
    ~ProducerTurn() {
        busy_.clear(std::memory_order_release);
        busy_.notify_one();
    }
    ProducerTurn(const ProducerTurn&) = delete;
    ProducerTurn& operator=(const ProducerTurn&) = delete;

private:
    std::atomic_flag& busy_;
};

}  // namespace

bool MidiInputRing::push(const MidiInputEvent& event) {
    const ProducerTurn turn(producerBusy_);
    if (count_.load(std::memory_order_acquire) >= capacity) {
        overflow_.store(true, std::memory_order_relaxed);
        return false;
    }
    events_[write_] = event;
    write_ = (write_ + 1) % capacity;
    count_.fetch_add(1, std::memory_order_release);
    return true;
}

std::optional<MidiInputEvent> MidiInputRing::pop() {
    if (count_.load(std::memory_order_acquire) == 0) return std::nullopt;
    const MidiInputEvent event = events_[read_];
    read_ = (read_ + 1) % capacity;
    count_.fetch_sub(1, std::memory_order_release);
    return event;
}

}  // namespace notavera
