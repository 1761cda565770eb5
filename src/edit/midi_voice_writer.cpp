// One voice of an imported MIDI file written on its staff.
#include "edit/midi_voice_writer.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <optional>
#include <cstdio>
#include <string>

#include "edit/respelling.h"
#include "midi/note_key.h"
#include "render/key_signature_layout.h"
#include "render/spacing_settings.h"
#include "score/clef_values.h"
#include "score/element_creation.h"
#include "score/group_marks.h"

namespace notavera {

namespace {

constexpr unsigned chordMemberBit = 18;  // note word: a member of the chord at its x
constexpr std::uint32_t automaticStemsBit = 1u << 13;
constexpr int firstX = LineStartColumn(0, 10);
constexpr int clefAdvance = 60;
constexpr int meterAdvance = 60;
constexpr int barAdvance = 30;
constexpr int trebleClef = 1;
constexpr int bassClef = 3;
constexpr int middleC = 60;
constexpr unsigned meterNumerals = 1;
constexpr unsigned longestCode = 0;
constexpr unsigned shortestCode = 10;
// Silences shorter than grid entry 15 (an eighth at the usual rounding) belong to the note before them.
constexpr int shortSilenceEntry = 15;
// The height of a bar number above the staff's top line, in step units.
constexpr int barNumberHeight = 14;

// Pitch class → note name (1 C … 7 B) and whether the class is that name's sharp.
constexpr unsigned naturalStep[12] = {1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7};
constexpr int sharpInClass[12] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};

// The octave field holds octaves 0–7; a key beyond them is written in the nearest one under an octave line.
struct WrittenOctave {
    unsigned field;
    unsigned shiftCode;  // 0 none, 1 8va alta, 2 15ma alta, 3 8va bassa
};

WrittenOctave OctaveOfKey(int key) {
    const int octave = key / 12 - 1;
    if (octave > 7) return {7, octave == 8 ? 1u : 2u};
    if (octave < 0) return {0, 3};
    return {static_cast<unsigned>(octave), 0};
}

void StartTie(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieStarts(true);
}

void EndTie(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieEnds(true);
}

GmnWrittenValue EntryValue(int entry, unsigned rounding, bool& ok) {
    const int group = entry / 5;
    const int position = entry % 5;
    // Group k holds 2^k grid units: a whole note over `rounding` ÷ 2^k, code log2(4 × rounding) − k.
    const int code = std::countr_zero(4 * rounding) - group;
    const GmnRational b(std::int64_t{1} << group, rounding);
    const bool tuplet = position == 1 || position == 3;
    const int written = tuplet ? code - 1 : code;
    ok = written >= static_cast<int>(longestCode) && code <= static_cast<int>(shortestCode);
    if (!ok) return {};
    const auto c = static_cast<unsigned>(written);
    switch (position) {
    case 1: return GmnWrittenValue{c, 3, 2, 0, b.scaled(4, 3)};
    case 2: return GmnWrittenValue{c, 1, 1, 1, b.scaled(3, 2)};
    case 3: return GmnWrittenValue{c, 5, 4, 0, b.scaled(8, 5)};
    case 4: return GmnWrittenValue{c, 1, 1, 2, b.scaled(7, 4)};
    default: return GmnWrittenValue{c, 1, 1, 0, b};
    }
}

// Writes a voice from left to right, keeping the time written so far exact.
class VoiceWriter {
public:
    VoiceWriter(ScoreDocument& doc, const MidiVoiceLayout& layout)
        : doc_(doc), layout_(layout), grid_(layout.division, layout.rounding),
          whole_(4 * std::int64_t{layout.division}), su_(std::max(doc.stepUnit, 1)) {}

    void begin(int clef) {
        x0_ = firstX;
        CreateSign(doc_, x0_, 0, clef, SignType::Clef, 0);
        clefValue_ = ClefValueOfClef(clef);
        x0_ += clefAdvance;
        StaffRecord& staff = *doc_.staff();
        if (layout_.key && *layout_.key != 0) {
            const int count = std::min(std::abs(*layout_.key), 7);
            staff.key().setKeyKind(*layout_.key > 0 ? KeyKind::Sharps : KeyKind::Flats);
            staff.key().setKeyCount(static_cast<unsigned>(count));
            const int accidental = KeyAccidentalAdvanceOnFont(doc_.fonts.faceName(0), su_);
            x0_ = std::max(x0_, firstX + 5 * su_ + count * accidental + 2 * su_);
        }
        doc_.insertion.timeSigNum = layout_.meterNumerator;
        doc_.insertion.timeSigDen = layout_.meterDenominator;
        CreateSign(doc_, x0_, 0, meterNumerals, SignType::TimeSignature, 0);
        x0_ += meterAdvance;
        nextBar_ = layout_.firstBarTicks > 0 ? layout_.firstBarTicks : layout_.barTicks;
    }

    // From the written time up to `to`, a rest or the notes `keys` (tied over the bar lines).
    void write(std::int64_t to, const std::vector<int>& keys) {
        std::vector<int> previous;
        while (tick_ < to) {
            if (tick_ >= nextBar_) barLine();
            std::int64_t end = std::min(to, nextBar_);
            for (const GmnWrittenValue& value : valuesUpTo(end)) {
                std::vector<int> pieces = writeValue(value, keys);
                if (!previous.empty())
                    for (std::size_t k = 0; k < pieces.size() && k < previous.size(); ++k) {
                        StartTie(element(previous[k]));
                        EndTie(element(pieces[k]));
                    }
                if (!keys.empty()) previous = std::move(pieces);
            }
            tick_ = end;
        }
    }

    void finish() {
        markTupletGroups();
        times_.end = written_;
    }

    std::int64_t tick() const { return tick_; }
    GmnSequenceTimes& times() { return times_; }
    const ImportGrid& grid() const { return grid_; }

private:
    ElementRecord& element(int index) { return doc_.staff()->elements[static_cast<std::size_t>(index)]; }
    int placeX() const {
        const GmnRational x = written_.scaled(64 * su_, 1);
        return x0_ + xSigns_ + (x.den() > 0 ? x.num() / x.den() : 0);
    }

    // The values from here towards `end`. A time between a triplet place and a plain one is no sum of grid values:
    // it is cut where the triplet unit and the plain unit meet (the first such place after here, else the last
    // before `end`), so that triplet and plain values follow each other, tied. A time that no cut writes with grid
    // values is written exactly all the same.
    std::vector<GmnWrittenValue> valuesUpTo(std::int64_t& end) const {
        if (auto values = MidiWrittenValues(end - tick_, lengthTo(end), grid_, layout_.rounding)) return *values;
        const std::int64_t r = layout_.rounding;
        if (r > 0 && whole_ % r == 0) {
            const std::int64_t span = 4 * whole_ / r;  // three triplet units, four plain ones
            for (const std::int64_t meet : {(tick_ / span + 1) * span, (end - 1) / span * span}) {
                if (meet <= tick_ || meet >= end) continue;
                if (auto values = MidiWrittenValues(meet - tick_, lengthTo(meet), grid_, layout_.rounding)) {
                    end = meet;
                    return *values;
                }
            }
        }
        return GmnWrittenValues(lengthTo(end));
    }

    // The music written from here to the tick `end`. A triplet place of the grid falls between ticks when the
    // file's division has no factor 3: it is taken at its exact fraction, so that three triplet values fill their
    // beat exactly and the time written stays on the bars.
    GmnRational lengthTo(std::int64_t end) const {
        const GmnRational ticks(end - tick_, whole_);
        const std::int64_t r = layout_.rounding;
        if (end == nextBar_ || r == 0 || end * r % whole_ == 0) return GmnRational(end, whole_) - written_;
        const std::int64_t k = (3 * r * end + 2 * whole_) / (4 * whole_);  // the nearest triplet place
        if (std::llabs(4 * k * whole_ - 3 * r * end) > 3 * r) return ticks;  // more than a tick away
        const GmnRational length = GmnRational(4 * k, 3 * r) - written_;
        return length.isPositive() ? length : ticks;
    }

    void barLine() {
        const GmnRational at(nextBar_, whole_);
        times_.bars.push_back(at);
        ++bars_;
        CreateSign(doc_, placeX(), 0, '|', SignType::Bar, 0);
        if (layout_.numberedBars && bars_ % 5 == 0) numberBar();
        xSigns_ += barAdvance;
        nextBar_ += layout_.barTicks;
    }

    // The number of the bar that ends here, above the staff.
    void numberBar() {
        const std::string number = std::to_string(bars_);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(number.data());
        CreateSign(doc_, placeX(), barNumberHeight, 0, SignType::Text, 0, std::span(bytes, number.size()));
    }

    std::vector<int> writeValue(const GmnWrittenValue& value, const std::vector<int>& keys) {
        InsertionState& ins = doc_.insertion;
        ins.durationCode = value.code;
        ins.dots = value.dots;
        ins.proportionNum = value.tupletNum;
        ins.proportionDen = value.tupletDen;
        ins.accidentalForced = true;
        const int x = placeX();
        const GmnRational start = written_;
        written_ = written_ + value.length;
        std::vector<int> indices;
        if (keys.empty()) {
            ins.accidental = Accidental::None;
            if (CreateNoteOrRest(doc_, x, true, 1, clefValue_)) indices.push_back(doc_.currentElement);
        }
        for (const int key : keys) {
            const int pc = key % 12;
            const WrittenOctave octave = OctaveOfKey(key);
            ins.octave = octave.field;
            ins.accidental = AccidentalOfSemitones(sharpInClass[pc]).value_or(Accidental::None);
            ElementRecord* e = CreateNoteOrRest(doc_, x, false, naturalStep[pc]);
            if (!e) continue;
            e->w1().setOctaveShift(octave.shiftCode);
            const int index = doc_.currentElement;
            // In a flat key the black keys are read as flats: C sharp becomes D flat.
            if (sharpInClass[pc] && layout_.key && *layout_.key < 0)
                Respell(*e, false, KeyInEffect{KeyKind::Flats, static_cast<unsigned>(std::min(-*layout_.key, 7))});
            indices.push_back(index);
        }
        if (indices.size() > 1)
            for (const int i : indices) element(i).noteWord().setBit(chordMemberBit, true);
        for (const int i : indices) times_.pieces.push_back(GmnPieceSpan::Of(element(i), start, written_));
        return indices;
    }

    // Neighbouring notes and rests of one tuplet proportion form a group, marked at its first and last element;
    // a bar line or another proportion ends it.
    void markTupletGroups() {
        StaffRecord& staff = *doc_.staff();
        int first = -1, last = -1;
        unsigned num = 1, den = 1;
        const auto close = [&] {
            if (first >= 0) {
                MarkGroupFirst(staff.elements[static_cast<std::size_t>(first)]);
                MarkGroupLast(staff.elements[static_cast<std::size_t>(last)]);
            }
            first = last = -1;
        };
        for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
            const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
            if (e.isSign()) {
                if (e.isSignOfType(SignType::Bar)) close();
                continue;
            }
            const unsigned n = e.w1().numerator(), d = e.w1().denominator();
            const bool tuplet = n > 1 && d >= 1 && n != d;
            if (!tuplet || (first >= 0 && (n != num || d != den))) close();
            if (!tuplet) continue;
            if (first < 0) {
                first = i;
                num = n;
                den = d;
            }
            last = i;
        }
        close();
    }

    ScoreDocument& doc_;
    const MidiVoiceLayout& layout_;
    ImportGrid grid_;
    std::int64_t whole_;
    int su_;
    int x0_ = firstX;
    int clefValue_ = 0;  // the voice has one clef, written at its start
    int xSigns_ = 0;
    std::int64_t tick_ = 0;
    std::int64_t nextBar_ = 0;
    int bars_ = 0;
    GmnRational written_;
    GmnSequenceTimes times_;
};

// A player lifts off before the written value ends. A note followed by a real silence is written with the
// shortest plain or dotted value that holds what sounded and still ends by the next note, preferring one that leaves
// a silence of one plain or dotted value: a quarter played as 0.8 of its time reads as a quarter and an eighth rest,
// not as ties of tiny values whose rest then falls off the grid.
std::int64_t WrittenEnd(std::int64_t onset, std::int64_t end, std::int64_t next, std::int64_t whole, unsigned rounding) {
    if (rounding == 0 || whole % rounding != 0) return end;
    const std::int64_t unit = whole / rounding;
    if (onset % unit != 0) return end;  // a triplet place: its rests are off the plain grid whatever the note
    const auto simple = [unit](std::int64_t t) {
        if (t <= 0 || t % unit != 0) return false;
        const std::int64_t q = t / unit % 3 == 0 ? t / unit / 3 : t / unit;
        return std::has_single_bit(static_cast<std::uint64_t>(q));
    };
    std::int64_t firstFit = end;
    for (std::int64_t plain = unit; plain <= whole; plain *= 2)
        for (const std::int64_t value : {plain, plain * 3 / 2}) {
            if (value < end - onset || (value != plain && plain == unit)) continue;
            if (onset + value > next) return firstFit;
            if (simple(next - onset - value)) return onset + value;
            if (firstFit == end) firstFit = onset + value;
        }
    return firstFit;
}

}  // namespace

std::optional<std::vector<GmnWrittenValue>> MidiWrittenValues(std::int64_t ticks, const GmnRational& exact,
                                                              const ImportGrid& grid, unsigned rounding) {
    if (ticks <= 0 || !exact.isPositive()) return std::vector<GmnWrittenValue>{};
    const ImportGrid::Decomposition parts = grid.decompose(ticks);
    std::vector<GmnWrittenValue> values;
    GmnRational plain;
    for (const int group : parts.plainGroups) plain = plain + GmnRational(std::int64_t{1} << group, rounding);
    if (plain.isPositive()) values = GmnWrittenValues(plain);
    bool ok = parts.entry >= 0;
    GmnRational total = plain;
    if (ok) {
        const GmnWrittenValue entry = EntryValue(parts.entry, rounding, ok);
        values.push_back(entry);
        total = total + entry.length;
    }
    if (!ok || !(total == exact)) return std::nullopt;
    return values;
}

GmnSequenceTimes WriteMidiVoice(ScoreDocument& doc, const std::vector<ImportNote>& notes,
                                const MidiVoiceLayout& layout) {
    const InsertionState saved = doc.insertion;
    doc.insertion.word0Flags = 0;
    doc.insertion.noteWordFlags = saved.noteWordFlags | automaticStemsBit;
    VoiceWriter writer(doc, layout);
    long long keySum = 0;
    for (const ImportNote& n : notes) keySum += n.key;
    const bool low = !notes.empty() && keySum < static_cast<long long>(middleC) * static_cast<long long>(notes.size());
    writer.begin(low ? bassClef : trebleClef);
    const std::int64_t shortSilence = writer.grid().at(shortSilenceEntry);
    for (std::size_t i = 0; i < notes.size();) {
        // The notes that start together are one chord; it lasts as its longest note.
        const std::int64_t onset = notes[i].onset;
        std::vector<int> keys;
        std::int64_t end = onset;
        for (; i < notes.size() && notes[i].onset == onset; ++i) {
            if (std::find(keys.begin(), keys.end(), notes[i].key) == keys.end()) keys.push_back(notes[i].key);
            end = std::max(end, onset + notes[i].duration);
        }
        std::sort(keys.begin(), keys.end());
        // The staff plays one thing at a time: a note that overlaps the next one ends there, and a short silence
        // before the next one is taken into it.
        const std::int64_t next = i < notes.size() ? notes[i].onset : std::max(layout.endTick, end);
        if (end > next || next - end < shortSilence)
            end = next;
        else
            end = WrittenEnd(onset, end, next, writer.grid().wholeNote(), layout.rounding);
        if (onset > writer.tick()) writer.write(onset, {});
        writer.write(end, keys);
    }
    if (layout.endTick > writer.tick()) writer.write(layout.endTick, {});
    writer.finish();
    doc.insertion = saved;
    return std::move(writer.times());
}

}  // namespace notavera
