// The ring of received MIDI events between input driver threads and the user-interface thread.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "midi/midi_input_ring.h"

namespace notavera {
namespace {

MidiInputEvent numbered(std::uint32_t device, std::uint32_t n) { return {device, n, 0x90u | n << 8}; }

// Several input ports push at once while the interface drains: nothing is duplicated or reordered, and every
// event is either received or counted as dropped.
TEST(MidiInputRing, SeveralDriverThreadsAndTheConsumerAtOnce) {
    constexpr std::uint32_t ports = 4, perPort = 20000;
    auto ring = std::make_unique<MidiInputRing>();
    std::vector<std::uint32_t> dropped(ports, 0);
    std::vector<std::thread> drivers;
    for (std::uint32_t port = 0; port < ports; ++port) {
        drivers.emplace_back([&, port] {
            for (std::uint32_t n = 0; n < perPort; ++n)
                if (!ring->push(numbered(port, n))) ++dropped[port];
        });
    }
    std::vector<std::int64_t> lastSeen(ports, -1);
    std::vector<std::uint32_t> received(ports, 0);
    auto drain = [&] {
        while (const auto event = ring->pop()) {
            ASSERT_LT(event->device, ports);
            ASSERT_GT(static_cast<std::int64_t>(event->timeStamp), lastSeen[event->device]);
            ASSERT_EQ(event->message, 0x90u | event->timeStamp << 8);
            lastSeen[event->device] = event->timeStamp;
            ++received[event->device];
        }
    };
    std::thread consumer([&] {
        for (int round = 0; round < 2000; ++round) drain();
    });
    for (auto& d : drivers) d.join();
    consumer.join();
    drain();
    for (std::uint32_t port = 0; port < ports; ++port) EXPECT_EQ(received[port] + dropped[port], perPort) << port;
    // Unread, it keeps its capacity of events and drops the next.
    for (std::uint32_t n = 0; n < MidiInputRing::capacity; ++n) ASSERT_TRUE(ring->push(numbered(0, n)));
    EXPECT_FALSE(ring->push(numbered(0, 9999)));
    EXPECT_TRUE(ring->overflowed());
    EXPECT_EQ(ring->pop(), numbered(0, 0));
}

}  // namespace
}  // namespace notavera
