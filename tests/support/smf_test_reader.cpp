// Parsing the tests' MIDI files strictly: no running status, chunk lengths exact, end of track last.
#include "support/smf_test_reader.h"

namespace notavera::test {

namespace {

class Cursor {
public:
    Cursor(const std::vector<std::uint8_t>& b, std::size_t from, std::size_t to) : b_(b), pos_(from), end_(to) {}
    bool done() const { return pos_ >= end_; }
    std::size_t pos() const { return pos_; }
    std::optional<std::uint8_t> byte() {
        if (pos_ >= end_) return std::nullopt;
        return b_[pos_++];
    }
    std::optional<std::uint32_t> number(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            auto b = byte();
            if (!b) return std::nullopt;
            v = (v << 8) | *b;
        }
        return v;
    }
    std::optional<std::uint32_t> varLen() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            auto b = byte();
            if (!b) return std::nullopt;
            v = (v << 7) | (*b & 0x7F);
            if ((*b & 0x80) == 0) return v;
        }
        return std::nullopt;
    }
    bool tag(const char* t) {
        for (int i = 0; i < 4; ++i) {
            auto b = byte();
            if (!b || *b != static_cast<std::uint8_t>(t[i])) return false;
        }
        return true;
    }

private:
    const std::vector<std::uint8_t>& b_;
    std::size_t pos_, end_;
};

int dataBytesOf(std::uint8_t status) {
    const std::uint8_t type = status & 0xF0;
    return type == 0xC0 || type == 0xD0 ? 1 : 2;
}

std::optional<std::vector<SmfEvent>> parseTrack(Cursor& c) {
    std::vector<SmfEvent> events;
    std::uint32_t tick = 0;
    while (!c.done()) {
        auto delta = c.varLen();
        auto status = c.byte();
        if (!delta || !status || *status < 0x80) return std::nullopt;
        tick += *delta;
        SmfEvent e{tick, *status, 0, {}};
        if (*status == 0xFF) {
            auto type = c.byte();
            auto len = c.varLen();
            if (!type || !len) return std::nullopt;
            e.metaType = *type;
            for (std::uint32_t i = 0; i < *len; ++i) {
                auto b = c.byte();
                if (!b) return std::nullopt;
                e.data.push_back(*b);
            }
        } else {
            for (int i = 0; i < dataBytesOf(*status); ++i) {
                auto b = c.byte();
                if (!b || *b > 0x7F) return std::nullopt;
                e.data.push_back(*b);
            }
        }
        events.push_back(std::move(e));
    }
    if (events.empty() || events.back().status != 0xFF || events.back().metaType != 0x2F) return std::nullopt;
    return events;
}

}  // namespace

std::optional<SmfFile> ParseSmf(const std::vector<std::uint8_t>& bytes) {
    Cursor c(bytes, 0, bytes.size());
    SmfFile f;
    if (!c.tag("MThd") || c.number(4) != 6u) return std::nullopt;
    auto format = c.number(2), tracks = c.number(2), division = c.number(2);
    if (!format || !tracks || !division) return std::nullopt;
    f.format = static_cast<int>(*format);
    f.trackCount = static_cast<int>(*tracks);
    f.division = static_cast<int>(*division);
    std::size_t pos = c.pos();
    for (int t = 0; t < f.trackCount; ++t) {
        Cursor head(bytes, pos, bytes.size());
        if (!head.tag("MTrk")) return std::nullopt;
        auto length = head.number(4);
        if (!length || head.pos() + *length > bytes.size()) return std::nullopt;
        Cursor body(bytes, head.pos(), head.pos() + *length);
        auto events = parseTrack(body);
        if (!events) return std::nullopt;
        f.tracks.push_back(std::move(*events));
        pos = head.pos() + *length;
    }
    if (pos != bytes.size()) return std::nullopt;
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
            for (auto it = sounding.begin(); it != sounding.end(); ++it) {
                if (heard[*it].key == e.data[0] && heard[*it].channel == e.channel()) {
                    heard[*it].off = e.tick;
                    sounding.erase(it);
                    break;
                }
            }
        }
    }
    return heard;
}

}  // namespace notavera::test
