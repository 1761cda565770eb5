// The note collector: note-ons become notes at rounded onsets, note-offs close them with a rounded duration.
#include "midi/midi_note_collector.h"

#include <algorithm>
#include <map>

#include "midi/import_grid.h"
#include "midi/smf_reader.h"

namespace notavera {

namespace {

constexpr unsigned fallbackDivision = 480;

// Ticks per quarter note. A division in SMPTE frames counts ticks per second: the import reads it at 120 beats a
// minute. A division of 0 would make every time infinitely long.
unsigned QuarterTicks(unsigned division) {
    if (division & 0x8000) {
        const unsigned fps = 256 - (division >> 8);
        const unsigned perFrame = division & 0xFF;
        const unsigned perSecond = fps * perFrame;
        return perSecond >= 2 ? perSecond / 2 : fallbackDivision;
    }
    return division > 0 ? division : fallbackDivision;
}

// Whether the file's music lies in one track only: the tracks that strike notes.
class TracksWithNotes : public SmfEventSink {
public:
    void trackStart(int index) override { track_ = index; }
    bool channelEvent(unsigned status, unsigned, unsigned velocity, std::uint32_t, std::uint64_t) override {
        if ((status & 0xF0) == 0x90 && velocity > 0 &&
            std::find(tracks.begin(), tracks.end(), track_) == tracks.end())
            tracks.push_back(track_);
        return true;
    }
    bool metaEvent(unsigned, std::span<const std::uint8_t>, std::uint32_t, std::uint64_t) override { return true; }
    std::vector<int> tracks;

private:
    int track_ = 0;
};

class Collector : public SmfEventSink {
public:
    Collector(MidiImportReading& reading, unsigned rounding, std::size_t maxNotes, bool byChannel,
              bool firstTrackIsVoice)
        : r_(reading), rounding_(rounding), maxNotes_(maxNotes), byChannel_(byChannel),
          firstVoiceTrack_(firstTrackIsVoice ? 0 : 1) {}

    void header(const SmfHeader& h) override {
        r_.format = h.format;
        r_.tracks = h.tracks;
        r_.division = QuarterTicks(h.division);
        grid_.emplace(r_.division, rounding_);
    }
    void trackStart(int index) override { track_ = index; }

    bool channelEvent(unsigned status, unsigned key, unsigned velocity, std::uint32_t, std::uint64_t time) override {
        const unsigned type = status & 0xF0;
        const bool on = type == 0x90 && velocity > 0;
        const bool off = type == 0x80 || (type == 0x90 && velocity == 0);
        if (!on && !off) return true;
        const int voice = byChannel_ ? static_cast<int>(status & 0x0F) : std::max(track_ - firstVoiceTrack_, 0);
        const auto t = static_cast<std::int64_t>(time);
        if (on) return noteOn(t, static_cast<int>(key), voice, static_cast<int>(status & 0x0F));
        noteOff(t, static_cast<int>(key), voice);
        return true;
    }

    bool metaEvent(unsigned type, std::span<const std::uint8_t> data, std::uint32_t, std::uint64_t) override {
        if (type == 0x59 && !data.empty()) r_.key = static_cast<std::int8_t>(data[0]);
        if (type == 0x58 && data.size() >= 2) {
            r_.meter = std::pair{unsigned{data[0]}, unsigned{data[1]}};
            if (track_ == 0) r_.firstTrackMeter = r_.meter;
        }
        return true;
    }

    bool overflow = false;

private:
    // The onset is rounded to the nearest place of the grid, counted from the start of the track: rounding the
    // distance from the note before instead would carry a file's one-tick jitter into every later onset, and the
    // lengths the staves write would stop falling on the grid.
    bool noteOn(std::int64_t t, int key, int voice, int channel) {
        if (r_.notes.size() >= maxNotes_) {
            overflow = true;
            return false;
        }
        const std::int64_t onset = grid_->place(t);
        sounding_[{voice, key}].push_back(static_cast<int>(r_.notes.size()));
        r_.notes.push_back(ImportNote{onset, t, 0, key, voice, false, channel});
        return true;
    }

    // The latest note of this key and voice still sounding that began before: a note-off that matches none
    // changes nothing.
    void noteOff(std::int64_t t, int key, int voice) {
        auto it = sounding_.find({voice, key});
        if (it == sounding_.end()) return;
        std::vector<int>& open = it->second;
        for (auto i = open.rbegin(); i != open.rend(); ++i) {
            ImportNote& n = r_.notes[static_cast<std::size_t>(*i)];
            if (n.rawOnset >= t) continue;
            n.closed = true;
            n.duration = grid_->quantise(t - n.rawOnset);
            open.erase(std::next(i).base());
            return;
        }
    }

    MidiImportReading& r_;
    unsigned rounding_;
    std::size_t maxNotes_;
    bool byChannel_;
    int firstVoiceTrack_;  // the track of voice 0: the first track is usually the tempo map, and shares voice 0
    std::optional<ImportGrid> grid_;
    int track_ = 0;
    std::map<std::pair<int, int>, std::vector<int>> sounding_;
};

}  // namespace

MidiImportReading ReadMidiForImport(std::span<const std::uint8_t> bytes, unsigned rounding, std::size_t maxNotes) {
    MidiImportReading reading;
    TracksWithNotes withNotes;
    if (!ReadSmf(bytes, withNotes).isMidi) return reading;
    // Voices follow the tracks when several carry notes. A first track that carries notes is a voice of its own:
    // folding it into the second would write two hands of a piano on one staff.
    const bool firstTrackIsVoice =
        std::find(withNotes.tracks.begin(), withNotes.tracks.end(), 0) != withNotes.tracks.end();
    Collector collector(reading, rounding, maxNotes, withNotes.tracks.size() <= 1, firstTrackIsVoice);
    const SmfReading read = ReadSmf(bytes, collector);
    if (collector.overflow) {
        reading.notes.clear();
        reading.status = MidiReadStatus::TooManyNotes;
        return reading;
    }
    // A note whose note-off never came, or came at its own onset, lasts one grid unit.
    const ImportGrid grid(reading.division, rounding);
    for (ImportNote& n : reading.notes)
        if (!n.closed || n.duration == 0) n.duration = std::max<std::int64_t>(grid.at(0), 1);
    std::stable_sort(reading.notes.begin(), reading.notes.end(),
                     [](const ImportNote& a, const ImportNote& b) { return a.onset < b.onset; });
    reading.status = read.stop == SmfStop::UnexpectedRunningStatus ? MidiReadStatus::UnexpectedRunningStatus
                     : read.stop == SmfStop::UnexpectedMessage     ? MidiReadStatus::UnexpectedMessage
                                                                   : MidiReadStatus::Ok;
    return reading;
}

}  // namespace notavera
