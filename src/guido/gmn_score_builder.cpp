// Writing the callbacks of a GUIDO reading into the staves of page 1.
#include "guido/gmn_score_builder.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iterator>
#include <optional>

#include "guido/gmn_note_values.h"
#include "guido/gmn_signs.h"
#include "guido/gmn_texts.h"
#include "guido/gmn_vocabulary.h"
#include "midi/note_key.h"
#include "render/key_signature_layout.h"
#include "render/spacing_settings.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"
#include "score/group_marks.h"
#include "score/staff_layout_model.h"

namespace notavera {

namespace {

constexpr std::uint32_t automaticStemsBit = 1u << 13;  // note word: the stem direction follows the height
constexpr unsigned chordMemberBit = 18;                  // note word: a member of the chord at its x

constexpr int firstX = LineStartColumn(0, 10);  // where a line's music starts, as the layout puts it
constexpr std::size_t maxBarsOfOneNote = 64;
constexpr int clefAdvance = 60;
constexpr int barAdvance = 30;
constexpr int meterAdvance = 60;
constexpr unsigned meterNumerals = 1;  // time-signature display flags: numbers
constexpr unsigned meterSymbol = 64;   // a C-type symbol

// Pitch class → note name (1 C … 7 B) and whether the class itself is a sharp of that name.
constexpr unsigned naturalStep[12] = {1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7};
constexpr int sharpInClass[12] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};

// GUIDO octave 1 is the octave of middle C, the score's octave 4. Beyond the score's octaves 0–7 the note is
// written in the nearest one under an 8va or 15ma line, which makes it sound where the file puts it; further out
// it stays two octaves beyond. The octave is clamped before the shift, so that a huge octave number cannot
// overflow. Under an octave line of the file (\\oct) a note is written that many octaves from where it sounds, unless
// that leaves the score's octaves.
struct WrittenOctave {
    unsigned field;
    unsigned shiftCode;  // 0 none, 1 8va alta, 2 15ma alta, 3 8va bassa, 4 15ma bassa
};

WrittenOctave writtenOctave(int oct, int line) {
    const int octave = std::clamp(oct, -5, 6) + 3;
    if (line != 0 && octave - line >= 0 && octave - line <= 7)
        return {static_cast<unsigned>(octave - line), static_cast<unsigned>(line > 0 ? line : 2 - line)};
    if (octave > 7) return {7, octave == 8 ? 1u : 2u};
    if (octave < 0) return {0, octave == -1 ? 3u : 4u};
    return {static_cast<unsigned>(octave), 0};
}

constexpr unsigned eighthCode = 5;

// Where the beat that `position` falls in starts, beats counted from the start of its bar.
GmnRational beatStart(const GmnRational& position, const GmnRational& barStart, const GmnRational& beat) {
    const GmnRational beats = (position - barStart).scaled(beat.den(), beat.num());
    const long whole = beats.den() > 0 && beats.num() > 0 ? beats.num() / beats.den() : 0;
    return barStart + beat.scaled(whole, 1);
}

// The beat by which eighths are beamed: a dotted quarter in the compound meters, else the quarter (the half
// in 2/2 and the like).
GmnRational BeatOf(unsigned numerator, unsigned denominator) {
    if (denominator == 8 && numerator % 3 == 0) return GmnRational(3, 8);
    if (denominator < 4) return GmnRational(1, static_cast<long>(denominator));
    return GmnRational(1, 4);
}

bool isBeam(const std::string& name) { return name == "\\beam" || name == "\\bm"; }
bool isBeamBegin(const std::string& name) { return name == "\\beamBegin"; }
bool isBeamEnd(const std::string& name) { return name == "\\beamEnd"; }
bool isCurve(const std::string& name) { return name == "\\tie" || name == "\\slur" || name == "\\sl"; }

// Nothing but clefs yet: the line has not begun.
bool onlyClefsSoFar(const StaffRecord& staff) {
    return std::all_of(staff.elements.begin(), staff.elements.end(),
                       [](const ElementRecord& e) { return e.isSignOfType(SignType::Clef); });
}

void startCurve(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieStarts(true);
}

void endCurve(ElementRecord& e) {
    e.w0().setTiedToNext(true);
    e.w0().setTieEnds(true);
}

// The staves an \\accol of a curly brace joins, "first-last" (a straight brace, a bracket, has its own drawing).
std::optional<std::pair<int, int>> BraceRange(const GmnTagArguments& args) {
    std::string range, type = "curlyBrace";
    for (int k = 1; k <= args.count(); ++k) {
        if (args.type(k) != 's') continue;
        if (args.name(k) == "range") range = args.stringValue(k);
        if (args.name(k) == "type") type = args.stringValue(k);
    }
    if (type != "curlyBrace" && type != "thinBrace") return std::nullopt;
    int first = 0, last = 0;
    const char* end = range.data() + range.size();
    const auto [dash, e1] = std::from_chars(range.data(), end, first);
    if (e1 != std::errc() || dash == end || *dash != '-') return std::nullopt;
    const auto [rest, e2] = std::from_chars(dash + 1, end, last);
    if (e2 != std::errc() || rest != end || first < 1 || last <= first) return std::nullopt;
    return std::pair{first, last};
}

}  // namespace

ElementRecord* GmnScoreBuilder::elementAt(int index) {
    StaffRecord* staff = doc_.staff();
    if (!staff || index < 0 || index >= static_cast<int>(staff->elements.size())) return nullptr;
    return &staff->elements[static_cast<std::size_t>(index)];
}

GmnRational GmnScoreBuilder::timeAt(long num, long den) const { return GmnRational(num, den) - graceTime_; }

// Grace notes are small, and sound as appoggiaturas: a short note that takes its time from the next one.
void GmnScoreBuilder::markGrace(ElementRecord& e) {
    e.w0().setCueSize(true);
    doc_.header.midi().ornamentsAsAppoggiaturas() = 1;
}

int GmnScoreBuilder::placeX() const { return x_.den() > 0 ? std::max(0, x_.num() / x_.den()) : 0; }

void GmnScoreBuilder::advance(const GmnRational& wholeNotes) {
    // A whole note moves x by 256 × stepUnit ÷ 4.
    x_ = x_ + wholeNotes.scaled(64 * std::max(doc_.stepUnit, 1), 1);
}

void GmnScoreBuilder::na_segmInit() {
    begun_ = true;
    sequences_ = 0;
    overflow_ = false;
    staffReady_ = false;
    doc_.markModified();
    const InsertionState fresh;
    InsertionState& ins = doc_.insertion;
    ins.accidental = fresh.accidental;
    ins.accidentalForced = fresh.accidentalForced;
    ins.dots = fresh.dots;
    ins.proportionNum = fresh.proportionNum;
    ins.proportionDen = fresh.proportionDen;
    ins.word0Flags = fresh.word0Flags;
    // GUIDO leaves stem directions to the engraver unless a tag says otherwise: imported notes get automatic stems.
    ins.noteWordFlags = fresh.noteWordFlags | automaticStemsBit;
    // Writing a note changes the insertion state; the import leaves it as it was made here.
    savedInsertion_ = ins;
    doc_.currentPage = 1;
    doc_.currentStaff = 0;
    const StaffRecord* staff = doc_.staff();
    doc_.currentElement = staff ? static_cast<int>(staff->elements.size()) - 1 : -1;
    beamOpen_ = beamFirst_ = false;
    openTags_.clear();
    lastTag_.clear();
    tuplet_ = TupletRun{};
}

void GmnScoreBuilder::na_segmExit() { finish(); }

void GmnScoreBuilder::finish() {
    if (!begun_) return;
    closeTupletRun();
    // The pitches are stored as written; what is drawn is then decided as an engraver would.
    EngraveImportedPages(doc_);
    doc_.insertion = savedInsertion_;
    staffReady_ = false;
}

std::vector<GmnSequenceTimes> GmnScoreBuilder::sequenceTimes() const {
    const PageRecord* page = doc_.findPage(1);
    const std::size_t written = page ? std::min(times_.size(), page->staves.size()) : 0;
    std::vector<GmnSequenceTimes> sequences(times_.begin(), times_.begin() + static_cast<std::ptrdiff_t>(written));
    for (std::size_t s = 0; s < written; ++s) {
        const int asked = s < staffOfSequence_.size() ? staffOfSequence_[s] : 0;
        sequences[s].staff = asked > 0 ? asked : static_cast<int>(s) + 1;
    }
    return sequences;
}

void GmnScoreBuilder::barWrittenAt(const GmnRational& time) {
    if (!times_.empty()) times_.back().bars.push_back(time);
}

void GmnScoreBuilder::na_seqInit() {
    closeTupletRun();
    spanningCurves_.clear();
    crossStaff_ = 0;
    octaveLine_ = 0;
    doc_.insertion.noteWordFlags = savedInsertion_.noteWordFlags;
    inChord_ = false;
    chord_.clear();
    chordCurveEnds_.clear();
    openTags_.clear();
    lastNote_ = -1;
    graceTime_ = GmnRational();
    beamOpen_ = beamFirst_ = false;
    pendingTexts_.clear();
    eventTexts_.clear();
    syllables_.clear();
    PageRecord* page = doc_.findPage(1);
    if (page && addStaves_ && !page->staves.empty() && sequences_ >= static_cast<int>(page->staves.size()) &&
        sequences_ < StaffLayoutModel::maxStaves) {
        // A staff like the last one, empty and without a key; the layout gathers the staves into systems later.
        StaffRecord staff = page->staves.back();
        staff.elements.clear();
        staff.key().setIndex(static_cast<unsigned>(page->staves.size()));
        staff.key().setKeyKind(KeyKind::None);
        staff.key().setKeyCount(0);
        page->staves.push_back(std::move(staff));
    }
    if (!page || sequences_ >= static_cast<int>(page->staves.size())) {
        // Without a staff the sequence is read but writes nothing, and neither do the ones after it.
        overflow_ = true;
        staffReady_ = false;
    } else {
        doc_.currentPage = 1;
        doc_.currentStaff = sequences_;
        doc_.currentElement = static_cast<int>(page->staves[static_cast<std::size_t>(sequences_)].elements.size()) - 1;
        staffReady_ = true;
    }
    x_ = GmnRational(firstX, 1);
    ++sequences_;
    times_.emplace_back();
    beamsOff_ = false;
    autoBars_ = true;
    barLength_ = barEnd_ = barStart_ = GmnRational();
    beat_ = GmnRational(1, 4);
    written_.clear();
}

void GmnScoreBuilder::na_seqExit() {
    closeTupletRun();
    if (!writing()) return;
    // Texts after the last event stand where the music ends.
    writeEventTexts();
    eventTexts_ = std::move(pendingTexts_);
    pendingTexts_.clear();
    writeEventTexts();
    beamByTheBeat();
}

int GmnScoreBuilder::space() const { return 2 * std::max(doc_.stepUnit, 1); }

// A text sign at x after the element `after` (appended when none is given), on the side its kind takes until the
// page is laid out (its parameter's sign).
ElementRecord* GmnScoreBuilder::writeText(const GmnText& text, int x, std::optional<int> after) {
    const StaffRecord* staff = doc_.staff();
    if (!staff) return nullptr;
    doc_.currentElement = after.value_or(static_cast<int>(staff->elements.size()) - 1);
    const std::span chars(reinterpret_cast<const std::uint8_t*>(text.chars.data()), text.chars.size());
    ElementRecord* e = CreateSign(doc_, x, text.side == GmnTextSide::Above ? 1 : -1, text.attributes.size,
                                  SignType::Text, text.attributes.type, chars);
    if (!e) return nullptr;
    SetTextAttributes(*e, text.attributes);
    // Written in front of a chord's later pieces: what the builder remembers by index moves on.
    const int index = doc_.currentElement;
    if (index + 1 < static_cast<int>(doc_.staff()->elements.size())) inserted(index);
    return elementAt(index);
}

// The next syllable goes in front of its note, where the spacing keeps lyrics: at the note's x.
void GmnScoreBuilder::writeSyllable() {
    if (nextSyllable_ >= syllables_.size()) return;
    const std::string& syllable = syllables_[nextSyllable_++];
    if (!syllable.empty()) writeText(GmnSyllableText(syllable, space()), placeX());
}

// The texts of the tags before an event follow it: written once the event is complete (when the next one begins),
// at the end of the staff, so that nothing the builder remembers by index moves. The page layout puts them back at
// their note.
void GmnScoreBuilder::writeEventTexts() {
    const StaffRecord* staff = doc_.staff();
    if (staff && !eventTexts_.empty()) {
        const int x = staff->elements.empty() ? placeX() : staff->elements.back().x;
        for (const GmnText& t : eventTexts_) writeText(t, x);
    }
    eventTexts_.clear();
}

void GmnScoreBuilder::beginEvent() {
    writeEventTexts();
    eventTexts_ = std::move(pendingTexts_);
    pendingTexts_.clear();
}

// A bar line at each bar end the music has reached (before `position` only, with `before`), unless the meter
// leaves the bar lines to the file.
void GmnScoreBuilder::barLinesUpTo(const GmnRational& position, bool before) {
    if (!autoBars_ || !barLength_.isPositive()) return;
    while (barEnd_.compare(position) < (before ? 0 : 1)) {
        barWrittenAt(barEnd_);
        addSign(0, '|', SignType::Bar, 0, barAdvance);
        barStart_ = barEnd_;
        barEnd_ = barEnd_ + barLength_;
    }
}

// Under a meter, eighths and shorter are beamed in groups that keep within a beat; rests, longer values and the notes
// the file beams itself break the groups.
void GmnScoreBuilder::beamByTheBeat() {
    std::size_t i = 0;
    while (i < written_.size()) {
        std::size_t j = i;
        while (j < written_.size() && written_[j].beamable && written_[j].beat == written_[i].beat) ++j;
        // Pieces that start together are one event (the notes of a chord).
        const bool group = j > i && written_[i].beamable && !(written_[j - 1].start == written_[i].start);
        if (group) {
            for (std::size_t k = i; k < j; ++k) {
                ElementRecord* e = elementAt(written_[k].index);
                if (!e) continue;
                e->w0().setInBeam(true);
                e->w0().setOpensBeam(written_[k].start == written_[i].start);
                e->w0().setClosesBeam(written_[k].start == written_[j - 1].start);
            }
        }
        i = j > i ? j : i + 1;
    }
}

void GmnScoreBuilder::na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                                       long durPosD) {
    if (!writing() || durD <= 0) return;
    const GmnRational written(durN, durD);
    // Every note of a chord starts at the chord's x.
    if (inChord_) x_ = chordX_;
    // An empty event holds the place of its duration: a hidden rest, so that what follows comes in at its time.
    const bool empty = pc == gmnEmpty;
    const bool rest = empty || pc < 0 || pc > 11;
    const GmnRational start = timeAt(durPosN, durPosD);
    const GmnRational length = dots == 0 ? written : dots == 1 ? written.scaled(3, 2) : written.scaled(7, 4);
    // A grace note takes no time of the bar: it is played as an appoggiatura, on the time of the note it ornaments.
    const bool grace = isOpen("\\grace");
    const GmnRational end = grace ? start : start + length;
    if (times_.back().end.compare(end) < 0) times_.back().end = end;
    const bool firstOfEvent = !inChord_ || chordMembers_ == 0;
    if (!inChord_) beginEvent();
    if (firstOfEvent) barLinesUpTo(start);
    // Lyrics fall on the notes and on the empty events that hold a verse's place, never on rests.
    if (firstOfEvent && !grace && pc != gmnRest && isOpen("\\lyrics")) writeSyllable();
    // A bar line drawn in front of a chord moves all of it.
    if (inChord_ && firstOfEvent) chordX_ = chordEndX_ = x_;
    if (inChord_) {
        ++chordMembers_;
        if (chordMembers_ == 1 || length.compare(chordShortest_) < 0) chordShortest_ = length;
        if (length.compare(chordLongest_) > 0) chordLongest_ = length;
    }
    // A value that runs past the bar end is written in parts, one each side of the bar line, tied.
    // A dotted binary value is written from its whole length, which may well make one dotted value again; a dotted
    // tuplet value keeps its dots on the proportioned value.
    std::vector<std::pair<GmnRational, int>> parts{{written, dots}};
    if (written.isDyadic()) parts.front() = {length, 0};
    // A rest is not split: one longer than its bar stands for the whole bar. Nor is a note over more bars than any
    // music holds a note (a long value under a very short meter would become thousands of tied pieces): like a
    // rest, it stands whole and the bars start over after it.
    bool unsplit = rest || grace;
    if (!inChord_ && !unsplit && autoBars_ && barLength_.isPositive() && barEnd_.compare(end) < 0) {
        std::vector<std::pair<GmnRational, int>> split;
        GmnRational from = start;
        GmnRational until = barEnd_;
        while (until.compare(end) < 0 && split.size() < maxBarsOfOneNote) {
            split.push_back({until - from, 0});
            from = until;
            until = until + barLength_;
        }
        split.push_back({end - from, 0});
        unsplit = until.compare(end) < 0;
        if (!unsplit) parts = std::move(split);
    }
    NoteSpan span;
    GmnRational at = start;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        if (p > 0) barLinesUpTo(at);
        for (const GmnWrittenValue& value : GmnWrittenValues(parts[p].first)) {
            const int index = writePiece(value, rest, pc, oct, acc, parts[p].second);
            // A grace note is no event of the piece's time: the note after it stands where the time says.
            if (const ElementRecord* e = grace ? nullptr : elementAt(index))
                times_.back().pieces.push_back(GmnPieceSpan::Of(*e, at, at + value.length));
            if (ElementRecord* e = empty ? elementAt(index) : nullptr) e->w0().setHidden(true);
            if (ElementRecord* e = grace ? elementAt(index) : nullptr) markGrace(*e);
            if (index >= 0) {
                // The pieces of one note sound as one: each is tied to the next.
                if (!rest && !span.pieces.empty()) {
                    if (ElementRecord* previous = elementAt(span.last())) startCurve(*previous);
                    if (ElementRecord* e = elementAt(index)) endCurve(*e);
                }
                span.pieces.push_back(index);
                if (firstOfEvent && !grace) markTuplet(value, index, start, end);
                const GmnRational beat = beat_.isPositive() ? beatStart(at, barStart_, beat_) : GmnRational();
                const bool beamable = !rest && !grace && value.code >= eighthCode && barLength_.isPositive() &&
                                      !beamOpen_ && !beamsOff_;
                written_.push_back(WrittenPiece{index, at, beat, beamable});
            }
            advance(value.length);
            if (!grace) at = at + value.length;
        }
    }
    if (grace && !inChord_) graceTime_ = graceTime_ + length;
    // The bar a longer rest (or an unsplit note) runs into starts over after it.
    if (unsplit && barLength_.isPositive())
        while (barEnd_.compare(end) < 0) {
            barStart_ = barEnd_;
            barEnd_ = barEnd_ + barLength_;
        }
    if (inChord_) {
        if (chordEndX_.compare(x_) < 0) chordEndX_ = x_;
        if (!span.pieces.empty() && !rest) chord_.push_back(std::move(span));
        return;
    }
    if (span.pieces.empty()) return;
    lastNote_ = span.last();
    if (!rest) applyOpenTags(NoteEvent{std::move(span)});
}

void GmnScoreBuilder::na_chordInit(long, long) {
    if (!writing()) return;
    beginEvent();
    inChord_ = true;
    chordX_ = chordEndX_ = x_;
    chordMembers_ = 0;
    chordShortest_ = chordLongest_ = GmnRational();
    chord_.clear();
}

// The notes of a chord stand at one x and carry the chord-member flag wherever more than one of their pieces share
// an x; the music goes on after the longest of them.
void GmnScoreBuilder::na_seqAppendChord(int, long, long, int, long durPosN, long durPosD) {
    if (!inChord_) return;
    if (isOpen("\\grace"))
        graceTime_ = graceTime_ + chordLongest_;
    else
        fillAfterShortestMember(timeAt(durPosN, durPosD));
    inChord_ = false;
    x_ = chordEndX_;
    // What follows the chord goes after all of it, not after the member written last.
    if (const StaffRecord* staff = doc_.staff()) doc_.currentElement = static_cast<int>(staff->elements.size()) - 1;
    writeChordTexts();
    closeChord();
    for (const OpenTag& end : chordCurveEnds_) endSpanningCurve(end);
    chordCurveEnds_.clear();
}

// The texts of a chord (those of its tags and of tags written among its notes) stand at its x right after its notes'
// first pieces, before the later pieces of its longer notes and the hidden rest that holds them: the layout puts a
// text at the note written before it. They are written before the notes are marked as a chord, which keeps a sign
// written at its x from coming after its last note.
void GmnScoreBuilder::writeChordTexts() {
    std::move(pendingTexts_.begin(), pendingTexts_.end(), std::back_inserter(eventTexts_));
    pendingTexts_.clear();
    const StaffRecord* staff = doc_.staff();
    if (chord_.empty() || eventTexts_.empty() || !staff) return;
    const ElementRecord* note = elementAt(chord_.front().first());
    if (!note) return;
    const int x = note->x;
    for (const GmnText& t : eventTexts_) {
        const auto& els = staff->elements;
        const auto later = std::find_if(els.begin(), els.end(), [x](const ElementRecord& e) { return e.x > x; });
        // In front of what stands further right, or after everything.
        const int at = static_cast<int>(later - els.begin()) - (later == els.end() ? 1 : 0);
        writeText(t, x, at);
    }
    eventTexts_.clear();
    doc_.currentElement = static_cast<int>(staff->elements.size()) - 1;
}

void GmnScoreBuilder::closeChord() {
    if (chord_.empty()) return;
    std::vector<ElementRecord*> pieces;
    for (const NoteSpan& member : chord_)
        for (int index : member.pieces)
            if (ElementRecord* e = elementAt(index)) pieces.push_back(e);
    for (ElementRecord* e : pieces) {
        const auto atX = std::count_if(pieces.begin(), pieces.end(), [e](const ElementRecord* o) { return o->x == e->x; });
        e->noteWord().setBit(chordMemberBit, atX > 1);
    }
    lastNote_ = chord_.back().last();
    applyOpenTags(chord_);
    chord_.clear();
}

// Playback goes on when the shortest note of a chord ends; a hidden rest from there to the end of the longest makes
// what follows the chord come in after all of it, while each note sounds its own length.
void GmnScoreBuilder::fillAfterShortestMember(const GmnRational& start) {
    if (chordMembers_ < 2 || !(chordShortest_.compare(chordLongest_) < 0)) return;
    x_ = chordX_;
    advance(chordShortest_);
    GmnRational at = start + chordShortest_;
    for (const GmnWrittenValue& value : GmnWrittenValues(chordLongest_ - chordShortest_)) {
        const int index = writePiece(value, true, 0, 1, 0, 0);
        if (ElementRecord* e = elementAt(index)) {
            e->w0().setHidden(true);
            times_.back().pieces.push_back(GmnPieceSpan::Of(*e, at, at + value.length));
            written_.push_back(WrittenPiece{index, at, GmnRational(), false});
        }
        advance(value.length);
        at = at + value.length;
    }
}

// A chord note whose earlier pieces stand further right is put in front of them: what the builder remembers by
// index moves with the elements.
void GmnScoreBuilder::inserted(int index) {
    const auto shift = [index](int& i) {
        if (i >= index) ++i;
    };
    for (auto* tags : {&openTags_, &spanningCurves_})
        for (OpenTag& tag : *tags)
            for (NoteEvent& event : tag.notes)
                for (NoteSpan& span : event)
                    for (int& i : span.pieces) shift(i);
    for (NoteSpan& span : chord_)
        for (int& i : span.pieces) shift(i);
    shift(lastNote_);
    shift(tuplet_.lastIndex);
    for (WrittenPiece& piece : written_) shift(piece.index);
}

int GmnScoreBuilder::writePiece(const GmnWrittenValue& value, bool rest, int pc, int oct, int acc, int dots) {
    InsertionState& ins = doc_.insertion;
    ins.durationCode = value.code;
    ins.dots = static_cast<unsigned>(std::clamp(dots + static_cast<int>(value.dots), 0, 3));
    ins.proportionNum = value.tupletNum;
    ins.proportionDen = value.tupletDen;
    const WrittenOctave octave = writtenOctave(oct, rest ? 0 : octaveLine_);
    ins.octave = octave.field;
    ins.accidentalForced = true;
    // A GUIDO pitch is absolute: the note keeps the alteration written for it, whatever the key or the bar say.
    // The score has no triple sharps or flats: such a note keeps its letter.
    ins.accidental =
        rest ? Accidental::None : AccidentalOfSemitones(acc + sharpInClass[pc]).value_or(Accidental::None);
    ElementWord0View<std::uint32_t>(ins.word0Flags).setInBeam(beamOpen_);
    ElementWord0View<std::uint32_t>(ins.word0Flags).setCrossStaff(rest ? 0 : crossStaff_);
    if (inChord_) {
        // A chord note goes in front of whatever already stands further right (the later pieces of its chord).
        const auto& els = doc_.staff()->elements;
        const int x = placeX();
        const auto next = std::find_if(els.begin(), els.end(), [x](const ElementRecord& o) { return o.x > x; });
        if (next != els.end()) doc_.currentElement = static_cast<int>(next - els.begin());
    }
    ElementRecord* e = CreateNoteOrRest(doc_, placeX(), rest, rest ? 1 : naturalStep[pc]);
    if (!e) return -1;
    if (!rest) e->w1().setOctaveShift(octave.shiftCode);
    const StaffRecord* staff = doc_.staff();
    if (doc_.currentElement + 1 < static_cast<int>(staff->elements.size())) inserted(doc_.currentElement);
    if (beamFirst_) {
        e->w0().setOpensBeam(true);
        beamFirst_ = false;
    }
    return doc_.currentElement;
}

void GmnScoreBuilder::markTuplet(const GmnWrittenValue& value, int index, const GmnRational& start,
                                 const GmnRational& end) {
    if (value.tupletNum == 1 && value.tupletDen == 1) {
        closeTupletRun();
        return;
    }
    if (tuplet_.open && (tuplet_.num != value.tupletNum || tuplet_.den != value.tupletDen)) closeTupletRun();
    ElementRecord* e = elementAt(index);
    if (!e) return;
    if (!tuplet_.open) {
        tuplet_ = TupletRun{true, start, value.tupletNum, value.tupletDen, index};
        MarkGroupFirst(*e);
    }
    tuplet_.lastIndex = index;
    // The group is complete when it fills a plain value again (three triplet eighths make a quarter).
    if ((end - tuplet_.start).isDyadic()) closeTupletRun();
}

void GmnScoreBuilder::closeTupletRun() {
    if (!tuplet_.open) return;
    tuplet_.open = false;
    if (ElementRecord* e = elementAt(tuplet_.lastIndex)) MarkGroupLast(*e);
}

bool GmnScoreBuilder::isOpen(const char* name) const {
    return std::any_of(openTags_.begin(), openTags_.end(), [name](const OpenTag& t) { return t.name == name; });
}

void GmnScoreBuilder::applyOpenTags(const NoteEvent& event) {
    for (OpenTag& tag : openTags_)
        if (isCurve(tag.name)) tag.notes.push_back(event);
    for (OpenTag& curve : spanningCurves_) curve.notes.push_back(event);
    // The staccato kinds: 1 staccato, 2 accent, 3 staccatissimo, 5 marcato.
    const auto stacc =
        std::find_if(openTags_.begin(), openTags_.end(), [](const OpenTag& t) { return t.name == "\\stacc"; });
    const unsigned kind = isOpen("\\marcato")           ? 5
                          : isOpen("\\accent")          ? 2
                          : stacc == openTags_.end() ? 0
                          : stacc->heavy                 ? 3
                                                         : 1;
    if (kind == 0) return;
    for (const NoteSpan& note : event)
        if (ElementRecord* e = elementAt(note.first())) {
            e->noteWord().setStaccato(true);
            e->noteWord().setAccentType(kind);
        }
}

// Each note of `to` is tied to the note of `from` that has its pitch (a single note to a single note whatever
// they are).
void GmnScoreBuilder::tie(const NoteEvent& from, const NoteEvent& to) {
    for (const NoteSpan& b : to) {
        ElementRecord* end = elementAt(b.first());
        if (!end) continue;
        for (const NoteSpan& a : from) {
            ElementRecord* start = elementAt(a.last());
            if (!start) continue;
            const bool samePitch = start->noteWord().step() == end->noteWord().step() &&
                                   start->w0().octave() == end->w0().octave();
            if (!samePitch && (from.size() > 1 || to.size() > 1)) continue;
            startCurve(*start);
            endCurve(*end);
            break;
        }
    }
}

void GmnScoreBuilder::closeCurve(const OpenTag& tag) {
    const auto& notes = tag.notes;
    if (notes.size() < 2) return;
    if (tag.name == "\\tie") {
        // Every note of the range is tied to the next one.
        for (std::size_t i = 0; i + 1 < notes.size(); ++i) tie(notes[i], notes[i + 1]);
        return;
    }
    ElementRecord* a = elementAt(notes.front().front().first());
    ElementRecord* b = elementAt(notes.back().back().last());
    if (!a || !b) return;
    startCurve(*a);
    endCurve(*b);
    // A slur takes the side the file asks for; between notes whose stems the file sets one way, the other side, as
    // engravers place it (automatic stems are left to the drawing).
    std::optional<bool> above = tag.above;
    const auto an = a->noteWord(), bn = b->noteWord();
    if (!above && !an.stemAutomatic() && !bn.stemAutomatic() && an.stemFlag() == bn.stemFlag()) above = !an.stemFlag();
    if (above) b->w0().setCurveAbove(*above);
}

// The side a curve tag asks for: `curve="up"` or `"down"`, or the same word as its first argument.
void GmnScoreBuilder::takeCurveSide(const GmnTagArguments& args) {
    OpenTag* tag = lastTag_ == "\\slurBegin" ? (spanningCurves_.empty() ? nullptr : &spanningCurves_.back())
                                             : (openTags_.empty() ? nullptr : &openTags_.back());
    if (!tag) return;
    for (int k = 1; k <= args.count(); ++k) {
        if (args.type(k) != 's' || !(args.name(k).empty() ? k == 1 : args.name(k) == "curve")) continue;
        const std::string& side = args.stringValue(k);
        if (side == "up" || side == "down") tag->above = side == "up";
    }
}

void GmnScoreBuilder::na_tagStart(const std::string& s, int no, int, long durPosN, long durPosD) {
    lastTag_ = s;
    tagPosition_ = timeAt(durPosN, durPosD);
    lastTagNumber_ = no;
    openTags_.push_back(OpenTag{s, {}, no, {}, false, tagPosition_});
}

void GmnScoreBuilder::na_tagEnd(int, long durPosN, long durPosD, long, long) {
    if (openTags_.empty()) return;
    const OpenTag tag = std::move(openTags_.back());
    openTags_.pop_back();
    // An octave line over a range of notes ends with it; one written alone holds until the next \\oct.
    if (tag.name == "\\oct" && !(timeAt(durPosN, durPosD) == tag.at)) octaveLine_ = 0;
    if (!writing()) return;
    if (isBeam(tag.name)) {
        closeBeam();
    } else if (isCurve(tag.name)) {
        closeCurve(tag);
    }
}

void GmnScoreBuilder::closeBeam() {
    if (!beamOpen_) return;
    beamOpen_ = false;
    beamFirst_ = false;
    if (ElementRecord* e = elementAt(lastNote_)) e->w0().setClosesBeam(true);
}

void GmnScoreBuilder::addSign(int param, int code, SignType type, unsigned subValue, int advanceBy) {
    CreateSign(doc_, placeX(), param, code, type, subValue);
    x_ = x_ + GmnRational(advanceBy, 1);
}

void GmnScoreBuilder::na_tagAdd(int, int nargs, const GmnTagArguments& args) {
    if (!writing()) return;
    if (lastTag_ == "\\beamsOff" || lastTag_ == "\\beamsAuto") beamsOff_ = lastTag_ == "\\beamsOff";
    if (lastTag_ == "\\bar" || lastTag_ == "\\doubleBar" || lastTag_ == "\\repeatBegin" || lastTag_ == "\\repeatEnd") {
        // A bar line of the file stands for the one the meter would draw there, and the bars count on from it:
        // one written early ends an upbeat.
        barLinesUpTo(tagPosition_, true);
        barWrittenAt(tagPosition_);
        barStart_ = tagPosition_;
        if (barLength_.isPositive()) barEnd_ = tagPosition_ + barLength_;
    }
    if (lastTag_ == "\\slur" || lastTag_ == "\\sl") takeCurveSide(args);
    if (lastTag_ == "\\stacc")
        for (int k = 1; k <= args.count(); ++k)
            if (args.name(k) == "type" && args.type(k) == 's' && args.stringValue(k) == "heavy") openTags_.back().heavy = true;
    if (lastTag_ == "\\oct" && nargs >= 1 && args.type(1) == 'i')
        octaveLine_ = static_cast<int>(std::clamp<long>(args.intValue(1), -2, 2));
    if (lastTag_ == "\\lyrics") {
        const auto text = GmnTextArgument(args);
        syllables_ = text ? GmnLyricSyllables(*text) : std::vector<std::string>{};
        nextSyllable_ = 0;
    } else if (lastTag_ == "\\instr") {
        if (const auto name = GmnTextArgument(args)) times_.back().instrument = GmnTextToAnsi(*name);
    } else if (lastTag_ == "\\title" || lastTag_ == "\\composer") {
        int& rank = lastTag_ == "\\title" ? titles_ : composers_;
        if (auto t = GmnHeadingText(lastTag_, args, space(), rank)) {
            headings_.push_back(std::move(*t));
            ++rank;
        }
    } else if (auto t = GmnNoteText(lastTag_, args, space())) {
        pendingTexts_.push_back(std::move(*t));
    }
    if (isBeam(lastTag_) || isBeamBegin(lastTag_)) {
        beamOpen_ = true;
        beamFirst_ = true;
    } else if (isBeamEnd(lastTag_)) {
        closeBeam();
    } else if (lastTag_ == "\\clef") {
        if (nargs < 1 || args.type(1) != 's') return;
        const auto clef = GmnClefFromString(args.stringValue(1));
        if (clef) addSign(clef->line, static_cast<int>(clef->number), SignType::Clef, 0, clefAdvance);
    } else if (lastTag_ == "\\key") {
        if (nargs >= 1) writeKey(args);
    } else if (lastTag_ == "\\meter") {
        if (nargs >= 1) writeMeter(args);
    } else if (lastTag_ == "\\bar") {
        addSign(0, '|', SignType::Bar, 0, barAdvance);
    } else if (lastTag_ == "\\doubleBar") {
        addSign(0, 'D', SignType::Bar, 0, barAdvance);
    } else if (lastTag_ == "\\newSystem" || lastTag_ == "\\newPage") {
        times_.back().breaks.push_back({tagPosition_, lastTag_ == "\\newPage"});
    } else if (lastTag_ == "\\repeatBegin") {
        addSign(0, 'O', SignType::Bar, 0, barAdvance);
    } else if (lastTag_ == "\\repeatEnd") {
        addSign(0, 'F', SignType::Bar, 0, barAdvance);
    } else if (lastTag_ == "\\tieBegin" || lastTag_ == "\\slurBegin") {
        spanningCurves_.push_back(OpenTag{lastTag_ == "\\tieBegin" ? "\\tie" : "\\slur", {}, lastTagNumber_, {}, false, {}});
        takeCurveSide(args);
    } else if (lastTag_ == "\\tieEnd" || lastTag_ == "\\slurEnd") {
        // An end written inside a chord closes once the whole chord has joined the curve.
        const OpenTag end{lastTag_ == "\\tieEnd" ? "\\tie" : "\\slur", {}, lastTagNumber_, {}, false, {}};
        if (inChord_)
            chordCurveEnds_.push_back(end);
        else
            endSpanningCurve(end);
    } else if (lastTag_ == "\\stemsUp" || lastTag_ == "\\stemsDown") {
        setStemDirection(lastTag_ == "\\stemsUp");
    } else if (lastTag_ == "\\stemsAuto") {
        setStemDirection(std::nullopt);
    } else if (lastTag_ == "\\staff") {
        if (nargs >= 1 && args.type(1) == 'i') moveToStaff(static_cast<int>(args.intValue(1)));
    } else if (lastTag_ == "\\accol") {
        if (const auto range = BraceRange(args)) times_.back().brace = range;
    }
}

// An End with a number closes the latest Begin of its kind with that number. Otherwise a tie end closes the oldest
// tie (converters chain tied notes as overlapping pairs) and a slur end the latest slur (slurs nest).
void GmnScoreBuilder::endSpanningCurve(const OpenTag& end) {
    const auto latest = [this](auto&& pred) {
        const auto it = std::find_if(spanningCurves_.rbegin(), spanningCurves_.rend(), pred);
        return it == spanningCurves_.rend() ? spanningCurves_.end() : std::prev(it.base());
    };
    const auto ofKind = [&end](const OpenTag& t) { return t.name == end.name; };
    auto match = spanningCurves_.end();
    if (end.number != 0) match = latest([&](const OpenTag& t) { return ofKind(t) && t.number == end.number; });
    if (match == spanningCurves_.end())
        match = end.name == "\\tie" ? std::find_if(spanningCurves_.begin(), spanningCurves_.end(), ofKind)
                                    : latest(ofKind);
    if (match == spanningCurves_.end()) return;
    const OpenTag curve = std::move(*match);
    spanningCurves_.erase(match);
    closeCurve(curve);
}

void GmnScoreBuilder::setStemDirection(std::optional<bool> up) {
    NoteWordView<std::uint32_t> flags(doc_.insertion.noteWordFlags);
    flags.setStemAutomatic(!up.has_value());
    flags.setStemFlag(up.value_or(false));
}

// The first \\staff of a sequence names the staff it is written on; a later one moves the notes after it to that
// staff, which the score shows by placing them on the staff above or below their own.
void GmnScoreBuilder::moveToStaff(int number) {
    const std::size_t seq = static_cast<std::size_t>(sequences_ - 1);
    if (staffOfSequence_.size() <= seq) staffOfSequence_.resize(seq + 1, 0);
    int& own = staffOfSequence_[seq];
    if (own == 0 && lastNote_ < 0) {
        own = number;
        return;
    }
    const int base = own == 0 ? sequences_ : own;
    crossStaff_ = number == base - 1 ? 1u : number == base + 1 ? 2u : 0u;
}

void GmnScoreBuilder::writeKey(const GmnTagArguments& args) {
    StaffRecord* staff = doc_.staff();
    if (!staff) return;
    const int count = GmnKeyCount(args, 1);
    if (!onlyClefsSoFar(*staff)) {
        // Once the music has begun a key is a change of key at its place: the notes before it keep theirs.
        writeKeyChange(*staff, count);
        return;
    }
    if (count != 0) staff->key().setKeyKind(count > 0 ? KeyKind::Sharps : KeyKind::Flats);
    staff->key().setKeyCount(static_cast<unsigned>(std::abs(count)));
    doc_.markModified();
    leaveRoomForLineStartKey(std::abs(count));
}

// A change to no key is written as the cancelling of the key it replaces, drawn as naturals.
void GmnScoreBuilder::writeKeyChange(const StaffRecord& staff, int count) {
    const KeyInEffect before = KeyInEffectAt(staff, static_cast<int>(staff.elements.size()) - 1, placeX());
    const bool cancels = count == 0;
    if (cancels && (before.cancelled || before.count == 0)) return;
    const unsigned kind = cancels ? static_cast<unsigned>(before.kind) : count > 0 ? 1u : 2u;
    const int shown = cancels ? static_cast<int>(before.count) : std::abs(count);
    ElementRecord* e = CreateSign(doc_, placeX(), 0, shown, SignType::KeyChange, kind);
    if (!e) return;
    e->signWord().setFlag16(cancels);
    const int su = std::max(doc_.stepUnit, 1);
    x_ = x_ + GmnRational(shown * KeyAccidentalAdvanceOnFont(doc_.fonts.faceName(0), su) + 3 * su, 1);
}

// The staff's own key is drawn at the start of the line after the clef's ink, about 5 step units past the clef's
// x, whatever x the import has reached: what follows it (usually the time signature, written centred on its x)
// moves past its accidentals.
void GmnScoreBuilder::leaveRoomForLineStartKey(int count) {
    if (count == 0) return;
    const int su = std::max(doc_.stepUnit, 1);
    const int accidental = KeyAccidentalAdvanceOnFont(doc_.fonts.faceName(0), su);
    const int after = firstX + 5 * su + count * accidental + 2 * su;
    if (placeX() < after) x_ = GmnRational(after, 1);
}

void GmnScoreBuilder::writeMeter(const GmnTagArguments& args) {
    if (args.type(1) != 's') return;
    const auto meter = GmnMeterFromString(args.stringValue(1));
    if (!meter) return;
    doc_.insertion.timeSigNum = meter->numerator;
    doc_.insertion.timeSigDen = meter->denominator;
    // Bars and beats count from here; a bar under way ends with the new meter.
    if (lastNote_ >= 0) barLinesUpTo(tagPosition_);
    barLength_ = GmnRational(meter->numerator, meter->denominator);
    barStart_ = tagPosition_;
    barEnd_ = tagPosition_ + barLength_;
    beat_ = BeatOf(meter->numerator, meter->denominator);
    autoBars_ = true;
    for (int k = 2; k <= args.count(); ++k)
        if (args.name(k) == "autoBarlines" && args.type(k) == 's' && args.stringValue(k) == "off") autoBars_ = false;
    addSign(0, static_cast<int>(meter->symbol ? meterSymbol : meterNumerals), SignType::TimeSignature,
            meter->symbolStyle, meterAdvance);
}

}  // namespace notavera
