// The ring of received MIDI input events: filled on the input drivers' threads, emptied on the user-interface
// thread. Its count is the only state both sides touch.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>

namespace notavera {

// One received event, 12 bytes in a fixed layout.
struct MidiInputEvent {
    std::uint32_t device = 0;     // 0-based input device number
    std::uint32_t timeStamp = 0;  // milliseconds since the port was started
    std::uint32_t message = 0;    // packed short message, status in the low byte

    friend bool operator==(const MidiInputEvent&, const MidiInputEvent&) = default;
};
static_assert(sizeof(MidiInputEvent) == 12);

class MidiInputRing {
public:
    static constexpr std::uint32_t capacity = 2400;

    // Producer side, any input driver's thread. When the ring is full the event is dropped, the overflow flag
    // is set and false is returned.
    bool push(const MidiInputEvent& event);
    // Consumer side, the user-interface thread only: the oldest event, or nothing when the ring is empty.
    std::optional<MidiInputEvent> pop();

    bool overflowed() const { return overflow_.load(std::memory_order_relaxed); }
    std::uint32_t count() const { return count_.load(std::memory_order_acquire); }

private:
    std::array<MidiInputEvent, capacity> events_{};
    // Release by the side that hands slots over, acquire by the side that takes them: a producer never
    // overwrites a slot the consumer is still reading, and the consumer never reads a slot half written.
    std::atomic<std::uint32_t> count_{0};
    std::atomic<bool> overflow_{false};
    // Each input port has its own driver thread, so producers take turns on the write position; the consumer
    // never waits for them.
    std::atomic_flag producerBusy_ = ATOMIC_FLAG_INIT;
    std::uint32_t write_ = 0;  // producers only, under producerBusy_
    std::uint32_t read_ = 0;   // consumer only
};

}  // namespace notavera
