// The Standard MIDI File writer: format 1 files framed in chunks whose lengths are patched once the track is
// written, delta times as variable-length numbers, channel events without running status and meta events.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "midi/midi_byte_sink.h"

namespace notavera {

inline constexpr int midiTicksPerQuarter = 256;

namespace midi_status {
inline constexpr std::uint8_t noteOff = 0x80;
inline constexpr std::uint8_t noteOn = 0x90;
inline constexpr std::uint8_t programChange = 0xC0;
}  // namespace midi_status

namespace meta_type {
inline constexpr std::uint8_t text = 0x01;
inline constexpr std::uint8_t endOfTrack = 0x2F;
inline constexpr std::uint8_t tempo = 0x51;
inline constexpr std::uint8_t timeSignature = 0x58;
inline constexpr std::uint8_t keySignature = 0x59;
}  // namespace meta_type

// The largest delta or length a variable-length number can carry (four bytes of seven bits).
inline constexpr std::uint32_t maxVariableLength = 0x0FFFFFFF;

// The event operations the track hooks use. Every operation returns what it wrote (data length) or −1 when
// the sink refused a byte or the event cannot be encoded; a refused byte is not counted in the track length.
class SmfWriter {
public:
    explicit SmfWriter(MidiByteSink& sink) : sink_(sink) {}

    // A channel event: the status byte (type OR channel) is written every time, data bytes after it.
    // Data bytes must be below 128 and the type a channel status; otherwise nothing is written.
    int channelEvent(std::uint32_t delta, std::uint8_t type, unsigned channel, std::span<const std::uint8_t> data);
    int noteOn(std::uint32_t delta, unsigned channel, std::uint8_t key, std::uint8_t velocity);
    int noteOff(std::uint32_t delta, unsigned channel, std::uint8_t key, std::uint8_t velocity);
    int programChange(std::uint32_t delta, unsigned channel, std::uint8_t program);

    // FF, type, length (variable-length), data.
    int metaEvent(std::uint32_t delta, std::uint8_t type, std::span<const std::uint8_t> data);
    // Set-tempo, time and key signature at delta 0: FF 51 03 t2 t1 t0; FF 58 04 nn dd 24 08; FF 59 02 sf 00.
    int tempo(std::uint32_t microsecondsPerQuarter);
    int timeSignature(std::uint8_t numerator, std::uint8_t denominatorExponent);
    int keySignature(std::int8_t sharps);

    bool byte(std::uint8_t b);
    bool u16(std::uint16_t v);
    bool u32(std::uint32_t v);
    bool variableLength(std::uint32_t v);

    // Bytes accepted since the current track chunk's length field.
    std::uint32_t trackBytes() const { return trackBytes_; }
    // Whether any byte was refused since the file began.
    bool failed() const { return failed_; }

private:
    friend int WriteMidiFile(MidiByteSink&, int, int, int, const std::function<void(SmfWriter&)>&,
                             const std::function<void(SmfWriter&, int)>&);
    bool writeHeaderChunk(int format, int trackCount, int division);
    // "MTrk", a length patched afterwards, the body's events and the end of track.
    bool writeTrackChunk(const std::function<void()>& body);

    MidiByteSink& sink_;
    std::uint32_t trackBytes_ = 0;
    bool failed_ = false;
};

using ConductorHook = std::function<void(SmfWriter&)>;
using TrackHook = std::function<void(SmfWriter&, int track)>;

// Writes the header chunk, the conductor track (format 1; empty without a conductor hook) and the tracks from number
// `format` up to trackCount − 1 through the per-track hook, each ended by its end-of-track event.
// 1 on success; 0 without a per-track hook, or as soon as a chunk could not be patched or lost a byte.
int WriteMidiFile(MidiByteSink& sink, int format, int trackCount, int division, const ConductorHook& conductor,
                  const TrackHook& track);

}  // namespace notavera
