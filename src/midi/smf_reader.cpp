// The one parsing scheme that the information dump and the import share.
#include "midi/smf_reader.h"

#include <algorithm>
#include <fstream>

namespace notavera {

namespace {

// A cursor over the bytes of the file, stopped at `end`; reading past it sets `failed` and yields 0, as a file
// read at its end would.
struct ByteReader {
    std::span<const std::uint8_t> bytes;
    std::size_t pos = 0;
    std::size_t end = 0;
    bool failed = false;

    bool more() const { return !failed && pos < end; }
    unsigned byte() {
        if (pos >= end) {
            failed = true;
            return 0;
        }
        return bytes[pos++];
    }
    std::uint32_t number(int size) {
        std::uint32_t v = 0;
        for (int i = 0; i < size; ++i) v = (v << 8) | byte();
        return v;
    }
    // Seven bits a byte while bit 7 is set; a number running on beyond 32 bits keeps its low bits.
    std::uint32_t variableLength() {
        std::uint32_t v = 0;
        unsigned b = 0;
        do {
            b = byte();
            v = (v << 7) | (b & 0x7F);
        } while ((b & 0x80) && !failed);
        return v;
    }
    void skip(std::uint64_t n) {
        const std::size_t left = end - std::min(pos, end);
        if (n > left) {
            pos = end;
            failed = true;
            return;
        }
        pos += static_cast<std::size_t>(n);
    }
};

int DataBytes(unsigned status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0: return 1;
    default: return 2;
    }
}

// The events of one track chunk, from `reader.pos` to `reader.end`.
SmfStop ReadTrack(ByteReader& reader, SmfEventSink& sink) {
    unsigned runningStatus = 0;
    std::uint64_t time = 0;
    std::vector<std::uint8_t> meta;
    while (reader.more()) {
        const std::uint32_t delta = reader.variableLength();
        time += delta;
        unsigned c = reader.byte();
        if (reader.failed) break;
        unsigned first = 0;
        bool haveFirst = false;
        if (c < 0x80) {
            if (runningStatus == 0) return SmfStop::UnexpectedRunningStatus;
            first = c;
            haveFirst = true;
            c = runningStatus;
        }
        if (c < 0xF0) {
            // Only channel statuses run on: a meta or sysex event between leaves the last one in force.
            runningStatus = c;
            if (!haveFirst) first = reader.byte();
            const unsigned second = DataBytes(c) == 2 ? reader.byte() : 0;
            if (reader.failed) break;
            if (!sink.channelEvent(c, first, second, delta, time)) return SmfStop::ClientStop;
        } else if (c == 0xF0 || c == 0xF7) {
            reader.skip(reader.variableLength());
        } else if (c == 0xFF) {
            const unsigned type = reader.byte();
            const std::uint32_t length = reader.variableLength();
            if (reader.failed) break;
            const std::size_t kept = std::min<std::size_t>(
                {std::size_t{length}, smfMetaKept, reader.end - std::min(reader.pos, reader.end)});
            meta.assign(reader.bytes.begin() + static_cast<std::ptrdiff_t>(reader.pos),
                        reader.bytes.begin() + static_cast<std::ptrdiff_t>(reader.pos + kept));
            reader.skip(length);
            if (reader.failed) break;
            if (!sink.metaEvent(type, meta, delta, time)) return SmfStop::ClientStop;
        } else {
            return SmfStop::UnexpectedMessage;
        }
    }
    return SmfStop::None;
}

bool TagIs(std::span<const std::uint8_t> bytes, std::size_t at, const char* tag) {
    return at + 4 <= bytes.size() && std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

SmfReading ReadSmf(std::span<const std::uint8_t> bytes, SmfEventSink& sink, bool firstTrackOnly) {
    SmfReading result;
    ByteReader file{bytes, 0, bytes.size()};
    if (!TagIs(bytes, 0, "MThd")) return result;
    file.pos = 4;
    const std::uint32_t headerLength = file.number(4);
    const std::size_t headerStart = file.pos;
    SmfHeader header;
    header.format = file.number(2);
    header.tracks = file.number(2);
    header.division = file.number(2);
    if (file.failed) return result;
    result.isMidi = true;
    sink.header(header);
    // Longer headers are skipped to their stated end.
    file.pos = headerStart + std::min<std::size_t>(headerLength, bytes.size() - headerStart);
    file.pos = std::max(file.pos, headerStart + 6);
    for (int track = 0; file.pos < bytes.size(); ++track) {
        if (firstTrackOnly && track > 0) break;
        if (!TagIs(bytes, file.pos, "MTrk")) break;
        file.pos += 4;
        const std::uint32_t length = file.number(4);
        if (file.failed) break;
        const std::size_t start = file.pos;
        const std::size_t end = start + std::min<std::size_t>(length, bytes.size() - start);
        ByteReader chunk{bytes, start, end};
        sink.trackStart(track);
        result.stop = ReadTrack(chunk, sink);
        if (result.stop != SmfStop::None) return result;
        sink.trackEnd(track);
        file.pos = end;
    }
    return result;
}

bool ReadFileBytes(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace notavera
