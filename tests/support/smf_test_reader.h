// A small reader of the Standard MIDI Files the tests write, to check events at absolute ticks.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace notavera::test {

struct SmfEvent {
    std::uint32_t tick = 0;
    std::uint8_t status = 0;  // 0xFF for meta events
    std::uint8_t metaType = 0;
    std::vector<std::uint8_t> data;

    bool isNoteOn() const { return (status & 0xF0) == 0x90; }
    bool isNoteOff() const { return (status & 0xF0) == 0x80; }
    unsigned channel() const { return status & 0x0F; }
};

struct SmfFile {
    int format = 0;
    int trackCount = 0;
    int division = 0;
    std::vector<std::vector<SmfEvent>> tracks;
};

// A note heard in a track: from its note-on to the matching note-off.
struct HeardNote {
    std::uint32_t on = 0;
    std::uint32_t off = 0;
    std::uint8_t key = 0;
    std::uint8_t velocity = 0;
    unsigned channel = 0;
    friend bool operator==(const HeardNote&, const HeardNote&) = default;
    friend std::ostream& operator<<(std::ostream& os, const HeardNote& n) {
        return os << "{" << n.on << "-" << n.off << " key " << int(n.key) << " vel " << int(n.velocity) << " ch "
                  << n.channel << "}";
    }
};

// Nothing when the bytes are not a well-formed file (every chunk length must match its events).
std::optional<SmfFile> ParseSmf(const std::vector<std::uint8_t>& bytes);
std::vector<HeardNote> HeardNotes(const std::vector<SmfEvent>& track);

}  // namespace notavera::test
