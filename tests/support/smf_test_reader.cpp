// Parsing the tests' MIDI files strictly: no running status, chunk lengths exact, end of track last.
#include "support/smf_test_reader.h"

#include <algorithm>

namespace notavera::test {

namespace {

// Reads big-endian numbers, variable-length numbers and bytes up to `end`; `ok` turns false at the first overrun.
struct Reader {
    const std::vector<std::uint8_t>& b;
    std::size_t at, end;
    bool ok = true;

    std::uint8_t byte() {
        if (at >= end) ok = false;
        return ok ? b[at++] : 0;
    }
    std::uint32_t number(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | byte();
        return v;
    }
    std::uint32_t varLen() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4 && ok; ++i) {
            const std::uint8_t c = byte();
            v = (v << 7) | (c & 0x7F);
            if ((c & 0x80) == 0) return v;
        }
        ok = false;
        return 0;
    }
    bool tag(const char* t) { return number(4) == (std::uint32_t(t[0]) << 24 | t[1] << 16 | t[2] << 8 | t[3]); }
};

std::optional<std::vector<SmfEvent>> parseTrack(Reader r) {
    std::vector<SmfEvent> events;
    std::uint32_t tick = 0;
    while (r.ok && r.at < r.end) {
        tick += r.varLen();
        SmfEvent e{tick, r.byte(), 0, {}};
        if (e.status < 0x80) return std::nullopt;
        const bool meta = e.status == 0xFF;
        if (meta) e.metaType = r.byte();
        const std::uint32_t length = meta ? r.varLen() : (e.status & 0xE0) == 0xC0 ? 1 : 2;  // program, pressure
        for (std::uint32_t i = 0; i < length && r.ok; ++i) e.data.push_back(r.byte());
        if (!r.ok) return std::nullopt;
        if (!meta && (e.data[0] > 0x7F || e.data.back() > 0x7F)) return std::nullopt;
        events.push_back(std::move(e));
    }
    if (!r.ok || events.empty() || events.back().status != 0xFF || events.back().metaType != 0x2F) return std::nullopt;
    return events;
}

}  // namespace

std::optional<SmfFile> ParseSmf(const std::vector<std::uint8_t>& bytes) {
    Reader r{bytes, 0, bytes.size()};
    SmfFile f;
    if (!r.tag("MThd") || r.number(4) != 6u) return std::nullopt;
    f.format = static_cast<int>(r.number(2));
    f.trackCount = static_cast<int>(r.number(2));
    f.division = static_cast<int>(r.number(2));
    for (int t = 0; t < f.trackCount && r.ok; ++t) {
        if (!r.tag("MTrk")) return std::nullopt;
        const std::size_t length = r.number(4);
        if (!r.ok || r.at + length > bytes.size()) return std::nullopt;
        auto events = parseTrack(Reader{bytes, r.at, r.at + length});
        if (!events) return std::nullopt;
        f.tracks.push_back(std::move(*events));
        r.at += length;
    }
    if (!r.ok || r.at != bytes.size()) return std::nullopt;
    return f;
}

std::vector<HeardNote> HeardNotes(const std::vector<SmfEvent>& track) {
    std::vector<HeardNote> heard;
    std::vector<std::size_t> sounding;
    for (const SmfEvent& e : track) {
        if (e.isNoteOn()) {
            sounding.push_back(heard.size());
            heard.push_back(HeardNote{e.tick, e.tick, e.data[0], e.data[1], e.channel()});
        } else if (e.isNoteOff()) {
            const auto it = std::find_if(sounding.begin(), sounding.end(), [&](std::size_t i) {
                return heard[i].key == e.data[0] && heard[i].channel == e.channel();
            });
            if (it == sounding.end()) continue;
            heard[*it].off = e.tick;
            sounding.erase(it);
        }
    }
    return heard;
}

}  // namespace notavera::test
