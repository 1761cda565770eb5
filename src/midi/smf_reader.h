// Reading a Standard MIDI File event by event: the header, the track chunks, variable-length numbers, running
// status, system exclusive and meta events. What is done with each event is up to the reader's client.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace notavera {

struct SmfHeader {
    unsigned format = 0;
    unsigned tracks = 0;
    unsigned division = 0;
};

// Why a reading stopped before the end of the file's tracks.
enum class SmfStop {
    None,                      // every track chunk was read (or a chunk of another kind ended the reading)
    UnexpectedRunningStatus,   // a data byte came before any channel status in its track
    UnexpectedMessage,         // a system status other than sysex and meta (0xF1 … 0xFE)
    ClientStop,                // the client asked to stop
};

// A meta event's text is kept to this many bytes; the rest is skipped.
inline constexpr std::size_t smfMetaKept = 128;

class SmfEventSink {
public:
    virtual ~SmfEventSink() = default;
    virtual void header(const SmfHeader&) {}
    // `index` counts the track chunks read, from 0.
    virtual void trackStart(int) {}
    virtual void trackEnd(int) {}
    // A channel event; false stops the reading. `data2` is 0 for one-data-byte statuses.
    virtual bool channelEvent(unsigned status, unsigned data1, unsigned data2, std::uint32_t delta,
                              std::uint64_t time) = 0;
    // A meta event with its first `smfMetaKept` data bytes; false stops the reading.
    virtual bool metaEvent(unsigned type, std::span<const std::uint8_t> data, std::uint32_t delta,
                           std::uint64_t time) = 0;
};

struct SmfReading {
    bool isMidi = false;  // the file opened and began with a whole "MThd" header
    SmfStop stop = SmfStop::None;
};

// Reads `bytes` into `sink`. Every length is believed only as far as the file goes: a chunk that claims more than
// the file holds ends with the file, and the events of a chunk are read up to its stated end only.
SmfReading ReadSmf(std::span<const std::uint8_t> bytes, SmfEventSink& sink, bool firstTrackOnly = false);

// The whole file's bytes; nothing when it cannot be read.
bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

}  // namespace notavera
