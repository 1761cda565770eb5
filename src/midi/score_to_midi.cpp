// The conductor track, the voice tracks and the page walk of a MIDI file of the score.
#include "midi/score_to_midi.h"

#include <algorithm>
#include <span>
#include <system_error>

#include "midi/event_timing.h"
#include "midi/meter_rules.h"
#include "midi/smf_writer.h"
#include "platform/messages.h"
#include "score/cursor_place.h"
#include "score/mus_file.h"

namespace notavera {

namespace {

constexpr std::size_t nameFieldOffset = 4;
constexpr std::uint32_t defaultTempo = 500000;
constexpr std::uint8_t maxToleranceValue = 99;

class ScoreMidiWriter {
public:
    ScoreMidiWriter(ScoreDocument& doc, UiServices& ui, const TrackPlan& plan) : doc_(doc), ui_(ui), plan_(plan) {
        MidiSettings midi = doc.header.midi();
        settings_.appoggiaturas = midi.ornamentsAsAppoggiaturas() != 0;
        settings_.metersAsProportions = midi.metersAsProportions() != 0;
        tolerance_ = std::min(midi.horizontalTolerance(), maxToleranceValue);
    }

    bool pageFailed() const { return pageFailed_; }

    void conductor(SmfWriter& w) {
        std::uint32_t tempo = doc_.header.midi().tempo();
        if (tempo == 0 || tempo > 0xFFFFFF) tempo = defaultTempo;
        w.tempo(tempo);
        const StaffRecord* staff = doc_.staff();
        if (!staff) return;
        if (const ElementRecord* meter = FirstMeter(*staff)) {
            if (const auto ts = MeterTimeSignature(*meter)) w.timeSignature(ts->numerator, ts->denominatorExponent);
        }
        const auto key = staff->key();
        const int count = static_cast<int>(key.keyCount());
        if (count > 0 && key.keyKind() == KeyKind::Sharps) w.keySignature(static_cast<std::int8_t>(count));
        if (count > 0 && key.keyKind() == KeyKind::Flats) w.keySignature(static_cast<std::int8_t>(-count));
    }

    void track(SmfWriter& w, int trackNumber) {
        writeVoice(w, trackNumber);
        releaseHeld(w, {});
    }

private:
    void writeVoice(SmfWriter& w, int trackNumber) {
        const unsigned voice = (plan_.firstVoice + static_cast<unsigned>(trackNumber - 1)) & 0xFF;
        MidiSettings midi = doc_.header.midi();
        channel_ = VoiceChannel(doc_, voice);
        velocity_ = std::min<std::uint8_t>(midi.volume(static_cast<int>(channel_)), 127);
        const auto name = std::span(doc_.header.bytes).subspan(nameFieldOffset, FileHeader::titleCapacity);
        w.metaEvent(0, meta_type::text, name);
        w.programChange(0, channel_, midi.program(static_cast<int>(channel_)) & 0x7F);
        if (pageFailed_) return;  // the file is given up; the remaining tracks only keep it well formed
        if (plan_.lastPage < plan_.firstPage) {
            if (!beeped_) Beep(ui_);
            beeped_ = true;
            return;
        }
        measure_ = BarMeasure{};
        tickCarries_.clear();
        silentCarry_ = 0;
        held_.clear();
        for (int p = plan_.firstPage; p <= plan_.lastPage; ++p) {
            const PageRecord* page = pageForWriting(p);
            if (!page) return;
            const bool first = p == plan_.firstPage;
            if (!writeVoiceOnPage(w, *page, voice, first ? plan_.startStaff : 0, first ? plan_.lastStaff : -1))
                return;
        }
    }

    // The page itself when it is in memory; otherwise the memory window moves to it.
    const PageRecord* pageForWriting(int number) {
        if (const PageRecord* p = doc_.findPage(number)) return p;
        if (MoveWindowTo(doc_, ui_, number) != FileOk || !doc_.findPage(number)) {
            pageFailed_ = true;
            return nullptr;
        }
        return doc_.findPage(number);
    }

    // The staves of the voice from staff `from` on (up to `to` when not −1), each with its merged followers.
    bool writeVoiceOnPage(SmfWriter& w, const PageRecord& page, unsigned voice, int from, int to) {
        const int end = to >= 0 ? std::min(to, static_cast<int>(page.staves.size()) - 1)
                                : static_cast<int>(page.staves.size()) - 1;
        for (int i = std::max(from, 0); i <= end;) {
            const StaffRecord& s = page.staves[i];
            if (s.voice().positionInGroup() == 0) break;  // the page's system numbering ends here
            if (s.voice().voice() != voice) {
                ++i;
                continue;
            }
            int last = i;
            while (plan_.mergeStaves && plan_.mode == PlaybackMode::AllVoices && last < end &&
                   followerJoins(page.staves[last], page.staves[last + 1]))
                ++last;
            if (!writeStaves(w, page, i, last)) return false;
            i = last + 1;
        }
        return true;
    }

    bool followerJoins(const StaffRecord& staff, const StaffRecord& next) {
        return staff.voice().positionInGroup() != staff.voice().groupSize() &&
               VoiceChannel(doc_, staff.voice().voice()) == VoiceChannel(doc_, next.voice().voice());
    }

    // Staves first..last of the page as one time line: a follower staff starts from the first staff's
    // measure, since its meters restate the system's; the next line goes on in the first staff's meter, whether
    // or not the followers restate it.
    bool writeStaves(SmfWriter& w, const PageRecord& page, int first, int last) {
        collected_.clear();
        const BarMeasure atStart = measure_;
        BarMeasure afterFirst;
        if (tickCarries_.size() < static_cast<std::size_t>(last - first + 1))
            tickCarries_.resize(static_cast<std::size_t>(last - first + 1), 0.0);
        for (int k = first; k <= last; ++k) {
            if (k > first) measure_ = atStart;
            const int transposition = doc_.header.voiceTransposition(page.staves[k].voice().voice() & 0x7F);
            CollectStaffEvents(page, k, plan_.range, transposition, settings_, measure_,
                               tickCarries_[static_cast<std::size_t>(k - first)], collected_);
            if (k == first) afterFirst = measure_;
        }
        measure_ = afterFirst;
        return writeTimed(w, TimeEvents(std::move(collected_), tolerance_));
    }

    // Silent records only carry their time to the next note event, which also takes the silence left at the
    // end of the previous staff of the track. A note tied on into the next line keeps sounding: its note-off
    // waits, as silent time, for the next staves; there the note that ends the tie is not struck again and its
    // note-off ends the joined note.
    bool writeTimed(SmfWriter& w, const std::vector<PlaybackEvent>& timed) {
        // A staff without notes or rests (a line holding only signs) takes no time: a tie goes on across it.
        if (timed.empty()) return true;
        std::vector<std::uint8_t> continued;
        for (const PlaybackEvent& r : timed)
            if (r.kind == event_kind::noteOn && (r.tie & tie_link::fromPreviousLine) && isHeld(r.key))
                continued.push_back(r.key);
        if (!releaseHeld(w, continued)) return false;
        std::uint32_t previous = timed.empty() ? 0 : timed.front().time;
        for (const PlaybackEvent& r : timed) {
            const std::uint32_t delta = r.time - previous;
            previous = r.time;
            if (r.kind == event_kind::filler || joinsHeld(r)) {
                silentCarry_ += delta;
                continue;
            }
            if (r.kind == event_kind::noteOff && (r.tie & tie_link::toNextLine)) {
                silentCarry_ += delta;
                held_.push_back(r.key);
                continue;
            }
            if (!writeNote(w, r.kind == event_kind::noteOn, delta, r.key)) return false;
        }
        return true;
    }

    bool isHeld(std::uint8_t key) const { return std::find(held_.begin(), held_.end(), key) != held_.end(); }

    // The note-on of a held key's continuation: the held note goes on sounding instead.
    bool joinsHeld(const PlaybackEvent& r) {
        if (r.kind != event_kind::noteOn || !(r.tie & tie_link::fromPreviousLine)) return false;
        const auto it = std::find(held_.begin(), held_.end(), r.key);
        if (it == held_.end()) return false;
        held_.erase(it);
        return true;
    }

    // Ends the held notes that no note of the coming staves continues, at the end of the silent time.
    bool releaseHeld(SmfWriter& w, const std::vector<std::uint8_t>& continued) {
        std::vector<std::uint8_t> kept;
        for (std::uint8_t key : held_) {
            if (std::find(continued.begin(), continued.end(), key) != continued.end()) {
                kept.push_back(key);
            } else if (!writeNote(w, false, 0, key)) {
                return false;
            }
        }
        held_ = std::move(kept);
        return true;
    }

    bool writeNote(SmfWriter& w, bool on, std::uint32_t delta, std::uint8_t key) {
        const std::uint32_t at = delta + silentCarry_;
        silentCarry_ = 0;
        const int written = on ? w.noteOn(at, channel_, key, velocity_) : w.noteOff(at, channel_, key, velocity_);
        return written >= 0;
    }

    ScoreDocument& doc_;
    UiServices& ui_;
    const TrackPlan& plan_;
    CollectionSettings settings_;
    int tolerance_ = 20;
    unsigned channel_ = 0;
    std::uint8_t velocity_ = 64;
    BarMeasure measure_;
    // The fraction of a tick each staff of the system ended with, by its place in the system: the staff at that
    // place in the next system goes on from it.
    std::vector<double> tickCarries_;
    std::uint32_t silentCarry_ = 0;
    std::vector<PlaybackEvent> collected_;
    std::vector<std::uint8_t> held_;  // keys whose note, tied into the next line, still sounds
    bool beeped_ = false;
    bool pageFailed_ = false;
};

}  // namespace

int WriteScoreMidi(ScoreDocument& doc, UiServices& ui, MidiByteSink& sink, int lastPage,
                   const std::optional<MidiRegion>& region) {
    const std::optional<TrackPlan> plan = PlanTracks(doc, lastPage, region);
    if (!plan) return 0;
    int written = 0;
    bool pageFailed = false;
    {
        const KeepCursor keep(doc, ui);
        ScoreMidiWriter writer(doc, ui, *plan);
        written = WriteMidiFile(
            sink, 1, plan->trackCount, midiTicksPerQuarter, [&](SmfWriter& w) { writer.conductor(w); },
            [&](SmfWriter& w, int track) { writer.track(w, track); });
        pageFailed = writer.pageFailed();
    }
    return written && !pageFailed ? 1 : 0;
}

int WriteScoreMidi(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path, int lastPage,
                   const std::optional<MidiRegion>& region) {
    if (path.empty() || !PlanTracks(doc, lastPage, region)) return 0;
    auto sink = FileByteSink::create(path);
    if (!sink) return 0;
    const int written = WriteScoreMidi(doc, ui, *sink, lastPage, region);
    const bool closed = sink->close();
    if (written && closed) return 1;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return 0;
}

}  // namespace notavera
