// Standard MIDI Files read back by an independent reader, midicsv: the records of each track, and the notes heard.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace notavera::test {

struct MidiCsv {
    std::string errors;  // what midicsv complained of: empty for a well-formed file
    std::vector<std::vector<std::string>> tracks;  // each track's records as "time, Type, values", framing left out
};

// Whether midicsv can be run here: tests that need it skip, and say so, without it.
bool HaveMidiCsv();

MidiCsv ReadMidiCsv(const std::filesystem::path& midi);

// A note heard in a track: from its note-on to the matching note-off.
struct HeardNote {
    std::uint32_t on = 0, off = 0;
    int key = 0, velocity = 0;
    unsigned channel = 0;
    friend bool operator==(const HeardNote&, const HeardNote&) = default;
    friend std::ostream& operator<<(std::ostream& os, const HeardNote& n) {
        return os << "{" << n.on << "-" << n.off << " key " << n.key << " vel " << n.velocity << " ch " << n.channel
                  << "}";
    }
};

std::vector<HeardNote> HeardNotes(const std::vector<std::string>& track);

}  // namespace notavera::test
