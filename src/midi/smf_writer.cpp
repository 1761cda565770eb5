// Encoding of the chunks, numbers and events of a Standard MIDI File.
#include "midi/smf_writer.h"

#include <array>

namespace notavera {

namespace {

constexpr std::array<std::uint8_t, 4> headerTag = {'M', 'T', 'h', 'd'};
constexpr std::array<std::uint8_t, 4> trackTag = {'M', 'T', 'r', 'k'};
constexpr std::uint32_t headerLength = 6;
constexpr std::uint8_t metaPrefix = 0xFF;
constexpr std::uint8_t clocksPerClick = 36;
constexpr std::uint8_t thirtySecondsPerQuarter = 8;

bool isChannelStatus(std::uint8_t type) { return type >= 0x80 && type < 0xF0 && (type & 0x0F) == 0; }

}  // namespace

bool SmfWriter::byte(std::uint8_t b) {
    if (!sink_.put(b)) {
        failed_ = true;
        return false;
    }
    ++trackBytes_;
    return true;
}

bool SmfWriter::u16(std::uint16_t v) {
    const bool hi = byte(static_cast<std::uint8_t>(v >> 8));
    const bool lo = byte(static_cast<std::uint8_t>(v));
    return hi && lo;
}

bool SmfWriter::u32(std::uint32_t v) {
    const bool hi = u16(static_cast<std::uint16_t>(v >> 16));
    const bool lo = u16(static_cast<std::uint16_t>(v));
    return hi && lo;
}

bool SmfWriter::variableLength(std::uint32_t v) {
    if (v > maxVariableLength) {
        failed_ = true;
        return false;
    }
    // Seven bits a byte, most significant group first; every byte but the last has bit 7 set.
    std::array<std::uint8_t, 4> groups{};
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    bool ok = true;
    while (n-- > 0) ok = byte(static_cast<std::uint8_t>(groups[n] | (n > 0 ? 0x80 : 0))) && ok;
    return ok;
}

int SmfWriter::channelEvent(std::uint32_t delta, std::uint8_t type, unsigned channel,
                            std::span<const std::uint8_t> data) {
    if (!isChannelStatus(type) || channel > 15) return -1;
    for (std::uint8_t d : data)
        if (d > 0x7F) return -1;
    bool ok = variableLength(delta);
    ok = byte(static_cast<std::uint8_t>(type | channel)) && ok;
    for (std::uint8_t d : data) ok = byte(d) && ok;
    return ok ? static_cast<int>(data.size()) : -1;
}

int SmfWriter::noteOn(std::uint32_t delta, unsigned channel, std::uint8_t key, std::uint8_t velocity) {
    const std::array<std::uint8_t, 2> data = {key, velocity};
    return channelEvent(delta, midi_status::noteOn, channel, data);
}

int SmfWriter::noteOff(std::uint32_t delta, unsigned channel, std::uint8_t key, std::uint8_t velocity) {
    const std::array<std::uint8_t, 2> data = {key, velocity};
    return channelEvent(delta, midi_status::noteOff, channel, data);
}

int SmfWriter::programChange(std::uint32_t delta, unsigned channel, std::uint8_t program) {
    const std::array<std::uint8_t, 1> data = {program};
    return channelEvent(delta, midi_status::programChange, channel, data);
}

int SmfWriter::metaEvent(std::uint32_t delta, std::uint8_t type, std::span<const std::uint8_t> data) {
    if (data.size() > maxVariableLength) return -1;
    bool ok = variableLength(delta);
    ok = byte(metaPrefix) && ok;
    ok = byte(type) && ok;
    ok = variableLength(static_cast<std::uint32_t>(data.size())) && ok;
    // The first byte the sink refuses ends the event: what follows would be misread anyway.
    for (std::uint8_t d : data) {
        if (!byte(d)) return -1;
    }
    return ok ? static_cast<int>(data.size()) : -1;
}

int SmfWriter::tempo(std::uint32_t microsecondsPerQuarter) {
    const std::uint32_t t = microsecondsPerQuarter & 0xFFFFFF;
    const std::array<std::uint8_t, 3> data = {static_cast<std::uint8_t>(t >> 16), static_cast<std::uint8_t>(t >> 8),
                                              static_cast<std::uint8_t>(t)};
    return metaEvent(0, meta_type::tempo, data);
}

int SmfWriter::timeSignature(std::uint8_t numerator, std::uint8_t denominatorExponent) {
    const std::array<std::uint8_t, 4> data = {numerator, denominatorExponent, clocksPerClick, thirtySecondsPerQuarter};
    return metaEvent(0, meta_type::timeSignature, data);
}

int SmfWriter::keySignature(std::int8_t sharps) {
    const std::array<std::uint8_t, 2> data = {static_cast<std::uint8_t>(sharps), 0};  // always major
    return metaEvent(0, meta_type::keySignature, data);
}

bool SmfWriter::writeHeaderChunk(int format, int trackCount, int division) {
    bool ok = true;
    for (std::uint8_t b : headerTag) ok = byte(b) && ok;
    ok = u32(headerLength) && ok;
    ok = u16(static_cast<std::uint16_t>(format)) && ok;
    ok = u16(static_cast<std::uint16_t>(trackCount)) && ok;
    return u16(static_cast<std::uint16_t>(division)) && ok;
}

bool SmfWriter::writeTrackChunk(const std::function<void()>& body) {
    const auto start = sink_.position();
    for (std::uint8_t b : trackTag) byte(b);
    u32(0);
    trackBytes_ = 0;
    body();
    metaEvent(0, meta_type::endOfTrack, {});
    const std::uint32_t length = trackBytes_;
    const auto end = sink_.position();
    // The length field sits right after the tag; once patched, writing resumes at the end.
    if (!start || !end || !sink_.seek(*start + trackTag.size())) return false;
    const bool patched = u32(length);
    return sink_.seek(*end) && patched && !failed_;
}

int WriteMidiFile(MidiByteSink& sink, int format, int trackCount, int division, const ConductorHook& conductor,
                  const TrackHook& track) {
    if (!track || trackCount < 1 || trackCount > 0xFFFF || format < 0 || format > 2) return 0;
    SmfWriter w(sink);
    if (!w.writeHeaderChunk(format, trackCount, division)) return 0;
    // Without a conductor hook a format 1 file still gets its (empty) first track, so that the header's
    // track count stays true.
    if (format == 1 && !w.writeTrackChunk([&] {
            if (conductor) conductor(w);
        }))
        return 0;
    for (int n = format; n < trackCount; ++n) {
        if (!w.writeTrackChunk([&] { track(w, n); })) return 0;
    }
    return 1;
}

}  // namespace notavera
