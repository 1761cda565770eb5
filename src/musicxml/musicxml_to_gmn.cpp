// Reading a MusicXML element tree part by part and measure by measure, with the notes gathered into voices at exact
// times, then writing each voice as a GUIDO sequence with the signs of its staff merged in at their times.
#include "musicxml/musicxml_to_gmn.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/messages.h"
#include "score/musicxml_names.h"

namespace notavera {

namespace {

using Ticks = std::int64_t;
// A whole note in ticks is chosen for each file (see WholeTicksOf): at least this, which the dotted 256ths of grace
// notes divide, and at most the largest denominator the GUIDO reader's 32-bit fractions hold.
constexpr Ticks fewestWholeTicks = 2048;
constexpr Ticks mostWholeTicks = 0x7FFFFFFF;
// No value is longer than this many whole notes and no piece runs past the last time: hostile numbers cannot
// overflow the sums.
constexpr Ticks longestWholes = 16;
constexpr Ticks latestWholes = 100000;
constexpr long largestDivisions = 10000000;
constexpr int mostStaves = 16;
// The lines of lyrics a staff holds.
constexpr std::size_t mostVerses = 7;

std::optional<long> ParseLong(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A GUIDO duration: "/4" for a plain fraction of the whole note, "*3/8" otherwise.
std::string Duration(Ticks length, Ticks wholeTicks) {
    const Ticks g = std::gcd(length, wholeTicks);
    const Ticks n = length / g, d = wholeTicks / g;
    return n == 1 ? "/" + std::to_string(d) : "*" + std::to_string(n) + "/" + std::to_string(d);
}

// A text as a GUIDO string argument: quotes escaped, and no backslash that could escape the closing quote.
std::string Quoted(std::string_view text) {
    std::string s = "\"";
    for (char c : text) {
        if (c == '"') s += "\\\"";
        else if (c == '\\') s += '/';
        else if (c == '\n' || c == '\r' || c == '\t') s += ' ';
        else s += c;
    }
    return s + '"';
}

// The length of a note type with its dots, for the values that have no duration of their own (grace notes).
Ticks TypeLength(const XmlElement& note, Ticks wholeTicks) {
    const auto code = DurationCodeOfNoteType(note.childText("type"));
    Ticks length = wholeTicks * 4 >> std::min(code.value_or(5u), 10u);
    Ticks dot = length;
    for (const XmlElement& c : note.children)
        if (c.name == "dot" && dot > 1) length += dot /= 2;
    return length;
}

// A whole note in ticks for the file: a multiple of four times every division it declares, so that every duration,
// tuplets of any number included, is a whole number of ticks. A division that would take the whole note past what
// the GUIDO reader holds is left out, and its durations are rounded.
Ticks WholeTicksOf(const XmlElement& root) {
    Ticks whole = fewestWholeTicks;
    std::vector<const XmlElement*> pending{&root};
    while (!pending.empty()) {
        const XmlElement* e = pending.back();
        pending.pop_back();
        for (const XmlElement& c : e->children) pending.push_back(&c);
        if (e->name != "divisions") continue;
        const auto d = ParseReal(e->text);
        if (!d || *d < 1) continue;
        const Ticks next = std::lcm(whole, Ticks{4} * std::min(std::lround(*d), largestDivisions));
        if (next <= mostWholeTicks) whole = next;
    }
    return whole;
}

struct Pitch {
    std::string gmn;  // name, accidentals and octave
    int key = 0;      // the MIDI key, to pair tie starts with their stops
    bool tieStart = false;
    bool tieStop = false;
};

enum class EventKind { Note, Rest, Empty };

struct Event {
    Ticks onset = 0;
    Ticks length = 0;
    EventKind kind = EventKind::Note;
    bool grace = false;
    std::vector<Pitch> pitches;
    unsigned articulation = 0;  // the note's staccato kind (0 none)
    bool beamBegin = false;
    bool beamEnd = false;
    std::vector<int> slurStarts;  // the file's slur numbers
    std::vector<int> slurStops;
    std::vector<std::string> texts;  // tags written on the note itself (dynamics of its notations)
    // The syllable of each verse, by the file's lyric number, with a trailing '-' when the word goes on.
    std::map<std::string, std::string> lyrics;
    int order = 0;
};

// A tag that stands at a time of its staff: bar lines, breaks, clefs, keys, meters and texts. `rank` orders the
// tags of one time in the order GUIDO writes them; texts come last, on the event that follows.
struct Mark {
    Ticks time = 0;
    int rank = 0;
    int order = 0;
    std::string tag;
    bool text = false;
    std::string kind;  // a text's element name, for the count of what is left out
};
Mark SignMark(Ticks time, int rank, int order, std::string tag) {
    Mark m;
    m.time = time;
    m.rank = rank;
    m.order = order;
    m.tag = std::move(tag);
    return m;
}
constexpr int barRank = 0, breakRank = 1, clefRank = 2, keyRank = 3, meterRank = 4, octaveRank = 5, textRank = 6;

struct Stream {
    int part = 0;
    int staff = 1;
    int voiceOrder = 0;
    std::vector<Event> events;
    std::vector<Mark> marks;  // the texts given to this voice
};

struct Direction {
    int part = 0;
    int staff = 1;
    std::string voice;
    Mark mark;
};

struct BarAt {
    bool repeatBack = false;
    bool repeatForward = false;
    bool heavy = false;  // a double or final bar
};

struct Part {
    int staves = 1;
    Ticks end = 0;
    std::vector<std::pair<int, Mark>> staffMarks;  // staff 0: every staff of the part
    std::map<Ticks, BarAt> bars;
};

// A token of a sequence, the text cut into lines a reader can follow.
void AddToken(std::string& body, const std::string& token) {
    body += token;
    body += body.size() - body.rfind('\n') > 100 ? "\n  " : " ";
}

// One verse of a voice: a syllable or none for each event it can fall on and, for a further verse, the empty events
// that hold those places on a sequence of its own.
struct LyricLine {
    std::vector<std::optional<std::string>> syllables;
    std::string places;

    bool hasSyllables() const {
        return std::any_of(syllables.begin(), syllables.end(), [](const auto& s) { return s.has_value(); });
    }

    // The syllables as a \\lyrics text: a blank or a '_' moves on, and a '_' alone leaves an event without one.
    std::string text() const {
        std::string text;
        for (const auto& syllable : syllables) {
            if (!syllable) {
                text += "_";
                continue;
            }
            std::string word;
            for (std::size_t i = 0; i < syllable->size(); ++i) {
                const char c = (*syllable)[i];
                const bool ownHyphen = c == '-' && i + 1 == syllable->size();
                word += ownHyphen ? '-' : (c == ' ' || c == '-' || c == '_') ? '~' : c;
            }
            text += word.ends_with('-') ? word : word + " ";
        }
        return text;
    }
};

class Converter {
public:
    MusicXmlConversion run(const XmlElement& root);

private:
    void count(const std::string& what) { ++result_.leftOut[what]; }
    void readHeadings(const XmlElement& root);
    void readPart(const XmlElement& part, int index);
    void readMeasure(const XmlElement& measure, int p, Ticks start, Ticks& length);
    void readAttributes(const XmlElement& attributes, int p, Ticks at);
    void readNote(const XmlElement& note, int p, Ticks measureStart, Ticks& pos, Ticks& reached);
    void readNotations(const XmlElement& notations, Event& event, Pitch& pitch, bool useTied);
    void readDirection(const XmlElement& direction, int p, Ticks at);
    void readBarline(const XmlElement& barline, int p, Ticks measureStart, BarAt& right);
    void readOctaveShift(const XmlElement& shift, const Direction& at);
    std::optional<Pitch> readPitch(const XmlElement& note);
    void orderVerses();
    Ticks ticksOf(std::string_view divisions) const;
    Stream& stream(int p, int staff, const std::string& voice);
    void placeDirections();
    std::string writeSequence(Stream& s, int staffNumber, bool first, const std::string& brace);
    std::string writeEvent(const Event& e, std::map<int, int>& ties, std::map<int, int>& slurs);
    int nextOrder() { return order_++; }

    MusicXmlConversion result_;
    std::vector<Part> parts_;
    std::vector<Stream> streams_;
    std::map<std::tuple<int, int, std::string>, std::size_t> streamOf_;
    std::map<std::pair<int, int>, int> voicesOnStaff_;
    std::vector<Direction> directions_;
    std::vector<std::string> headings_;
    Ticks whole_ = fewestWholeTicks;  // a whole note in ticks
    Ticks longest() const { return longestWholes * whole_; }
    Ticks latest() const { return latestWholes * whole_; }
    long divisions_ = 1;
    Ticks meterLength_ = fewestWholeTicks;
    double lastTempo_ = 0;  // the rate of the last tempo mark written, in beats per minute
    // The lyric numbers of the file, in the order of their lines (orderVerses): the first verse goes with its voice's
    // notes, each further one on a sequence of its own at the voice's staff, as GUIDO writes several verses.
    std::vector<std::string> verses_;
    bool fileBeams_ = false;
    bool ownBreaks_ = false;  // the file's system and page breaks are the layout of a score made here
    int tieNumber_ = 0;
    int slurNumber_ = 0;
    int order_ = 0;
    // The event the next <chord/> note joins: its stream and index.
    std::optional<std::pair<std::size_t, std::size_t>> lastEvent_;
};

Ticks Converter::ticksOf(std::string_view divisions) const {
    const auto d = ParseReal(divisions);
    if (!d || *d <= 0) return 0;
    const double t = std::round(*d * static_cast<double>(whole_) / (4.0 * static_cast<double>(divisions_)));
    return t > static_cast<double>(longest()) ? longest() : static_cast<Ticks>(t);
}

// The verses by their numbers (others after them, as the file gives them), as many as a staff has lines for: the
// syllables of the others are counted as left out.
void Converter::orderVerses() {
    std::stable_sort(verses_.begin(), verses_.end(), [](const std::string& a, const std::string& b) {
        const auto x = ParseLong(a), y = ParseLong(b);
        return x && (!y || *x < *y);
    });
    if (verses_.size() <= mostVerses) return;
    const std::set<std::string> kept(verses_.begin(), verses_.begin() + mostVerses);
    for (const Stream& s : streams_)
        for (const Event& e : s.events)
            for (const auto& [number, syllable] : e.lyrics)
                if (!kept.contains(number)) count("lyric");
    verses_.resize(mostVerses);
}

Stream& Converter::stream(int p, int staff, const std::string& voice) {
    const auto key = std::make_tuple(p, staff, voice);
    auto it = streamOf_.find(key);
    if (it == streamOf_.end()) {
        Stream s;
        s.part = p;
        s.staff = staff;
        s.voiceOrder = voicesOnStaff_[{p, staff}]++;
        streams_.push_back(std::move(s));
        it = streamOf_.emplace(key, streams_.size() - 1).first;
    }
    return streams_[it->second];
}

// The title and composer lines: the work's title or the movement's, the composer the identification names, else
// the credits that say which they are.
void Converter::readHeadings(const XmlElement& root) {
    std::string title, composer;
    if (const XmlElement* work = root.child("work")) title = work->childText("work-title");
    if (title.empty()) title = root.childText("movement-title");
    if (const XmlElement* id = root.child("identification"))
        for (const XmlElement& c : id->children)
            if (c.name == "creator" && c.attribute("type") == "composer" && composer.empty()) composer = c.text;
    for (const XmlElement& credit : root.children) {
        if (credit.name != "credit") continue;
        std::string type = credit.childText("credit-type");
        std::string words;
        for (const XmlElement& c : credit.children)
            if (c.name == "credit-words" && !c.text.empty()) words += (words.empty() ? "" : " ") + c.text;
        if (words.empty()) continue;
        if (type == "title" && title.empty()) title = words;
        else if (type == "composer" && composer.empty()) composer = words;
        else if (type != "title" && type != "composer") count("credit");
    }
    if (!title.empty()) headings_.push_back("\\title<" + Quoted(title) + ">");
    if (!composer.empty()) headings_.push_back("\\composer<" + Quoted(composer) + ">");
}

std::optional<Pitch> Converter::readPitch(const XmlElement& note) {
    const XmlElement* p = note.child("pitch");
    const bool unpitched = !p && (p = note.child("unpitched")) != nullptr;
    if (!p) return std::nullopt;
    const std::string step = p->childText(unpitched ? "display-step" : "step");
    static constexpr std::string_view letters = "CDEFGAB";
    static constexpr int semitones[] = {0, 2, 4, 5, 7, 9, 11};
    const auto letter = step.size() == 1 ? letters.find(step[0]) : std::string_view::npos;
    const auto octave = ParseLong(p->childText(unpitched ? "display-octave" : "octave"));
    if (letter == std::string_view::npos || !octave || *octave < 0 || *octave > 9) return std::nullopt;
    int alter = 0;
    if (const auto a = ParseReal(p->childText("alter"))) {
        alter = static_cast<int>(std::lround(std::clamp(*a, -2.0, 2.0)));
        if (std::abs(*a - std::round(*a)) > 1e-6) count("alter");
    }
    Pitch pitch;
    pitch.gmn = std::string(1, "cdefgab"[letter]);
    pitch.gmn += alter > 0 ? std::string(static_cast<std::size_t>(alter), '#')
                           : std::string(static_cast<std::size_t>(-alter), '&');
    pitch.gmn += std::to_string(*octave - 3);
    pitch.key = static_cast<int>(*octave + 1) * 12 + semitones[letter] + alter;
    return pitch;
}

void Converter::readNotations(const XmlElement& notations, Event& event, Pitch& pitch, bool useTied) {
    for (const XmlElement& n : notations.children) {
        if (n.name == "tied") {
            if (!useTied) continue;
            const std::string type = n.attribute("type");
            if (type == "start" || type == "continue") pitch.tieStart = true;
            if (type == "stop" || type == "continue") pitch.tieStop = true;
        } else if (n.name == "slur") {
            const int number = static_cast<int>(ParseLong(n.attribute("number")).value_or(1));
            const std::string type = n.attribute("type");
            if (type == "start") event.slurStarts.push_back(number);
            if (type == "stop") event.slurStops.push_back(number);
        } else if (n.name == "articulations") {
            for (const XmlElement& a : n.children) {
                // A note carries one mark of its staccato kind: the first the file gives.
                const auto kind = AccentTypeOf(a.name);
                if (kind && event.articulation == 0) event.articulation = *kind;
                else count(a.name);
            }
        } else if (n.name == "dynamics") {
            for (const XmlElement& d : n.children)
                event.texts.push_back("\\intens<" + Quoted(d.name == "other-dynamics" ? d.text : d.name) + ">");
        } else if (n.name != "tuplet") {
            // Tuplets come back from the durations themselves.
            count(n.name);
        }
    }
}

void Converter::readNote(const XmlElement& note, int p, Ticks measureStart, Ticks& pos, Ticks& reached) {
    const bool chord = note.hasChild("chord");
    const bool grace = note.hasChild("grace");
    const bool rest = note.hasChild("rest");
    Ticks length = grace ? TypeLength(note, whole_) : ticksOf(note.childText("duration"));
    if (length <= 0) {
        count("note");
        return;
    }
    if (note.hasChild("cue")) count("cue");
    const Ticks onset =
        chord && lastEvent_ ? streams_[lastEvent_->first].events[lastEvent_->second].onset : measureStart + pos;
    if (!chord && !grace) {
        pos = std::min(pos + length, latest());
        reached = std::max(reached, pos);
    }
    Pitch pitch;
    if (!rest) {
        const auto read = readPitch(note);
        if (!read) {
            count("note");
            return;
        }
        pitch = *read;
    }
    bool useTied = true;
    for (const XmlElement& c : note.children) {
        if (c.name != "tie") continue;
        useTied = false;
        if (c.attribute("type") == "start") pitch.tieStart = true;
        if (c.attribute("type") == "stop") pitch.tieStop = true;
    }
    Event fresh;
    Event* event = nullptr;
    if (chord && lastEvent_ && !rest) {
        Event& joined = streams_[lastEvent_->first].events[lastEvent_->second];
        if (joined.kind == EventKind::Note) event = &joined;
    }
    const bool joins = event != nullptr;
    if (!joins) {
        event = &fresh;
        event->onset = onset;
        event->length = length;
        event->kind = rest ? EventKind::Rest : EventKind::Note;
        event->grace = grace;
        event->order = nextOrder();
    }
    for (const XmlElement& c : note.children) {
        if (c.name == "notations") {
            readNotations(c, *event, pitch, useTied);
        } else if (c.name == "beam" && (c.attribute("number").empty() || c.attribute("number") == "1")) {
            fileBeams_ = true;
            if (c.text == "begin") event->beamBegin = true;
            if (c.text == "end") event->beamEnd = true;
        } else if (c.name == "lyric" && !rest && !grace) {
            const std::string number = c.attribute("number").empty() ? "1" : c.attribute("number");
            std::string text;
            for (const XmlElement& t : c.children)
                if (t.name == "text") text += t.text;
            if (text.empty() || event->lyrics.contains(number)) continue;
            if (std::find(verses_.begin(), verses_.end(), number) == verses_.end()) verses_.push_back(number);
            const std::string syllabic = c.childText("syllabic");
            event->lyrics[number] = text + (syllabic == "begin" || syllabic == "middle" ? "-" : "");
        } else if (c.name == "notehead" && c.text != "normal") {
            count("notehead");
        } else if (c.name == "play" || c.name == "listen" || c.name == "footnote" || c.name == "level") {
            count(c.name);
        }
    }
    if (!rest) event->pitches.push_back(pitch);
    if (joins) return;
    const long staffNumber = ParseLong(note.childText("staff")).value_or(1);
    const int staff = static_cast<int>(std::clamp(staffNumber, 1L, static_cast<long>(parts_[p].staves)));
    const std::string voice = note.childText("voice").empty() ? "1" : note.childText("voice");
    Stream& s = stream(p, staff, voice);
    s.events.push_back(std::move(fresh));
    lastEvent_ = std::make_pair(static_cast<std::size_t>(&s - streams_.data()), s.events.size() - 1);
}

// The GUIDO names of the clef numbers 1–12.
constexpr std::string_view gmnClefs[] = {"", "g2", "g1", "f4", "f3", "c1", "c2", "c3", "c4", "g2-8", "f5", "c5", "perc"};

void Converter::readAttributes(const XmlElement& attributes, int p, Ticks at) {
    Part& part = parts_[p];
    for (const XmlElement& a : attributes.children) {
        if (a.name == "divisions") {
            const auto d = ParseReal(a.text);
            if (d && *d >= 1) divisions_ = std::min(static_cast<long>(std::lround(*d)), largestDivisions);
        } else if (a.name == "staves") {
            part.staves = static_cast<int>(std::clamp(ParseLong(a.text).value_or(1), 1L, static_cast<long>(mostStaves)));
        } else if (a.name == "key") {
            const auto fifths = ParseLong(a.childText("fifths"));
            if (!fifths) {
                count("key");
                continue;
            }
            const int staff = static_cast<int>(ParseLong(a.attribute("number")).value_or(0));
            const long n = std::clamp(*fifths, -7L, 7L);
            part.staffMarks.push_back({staff, SignMark(at, keyRank, nextOrder(), "\\key<" + std::to_string(n) + ">")});
        } else if (a.name == "time") {
            long beats = 0;
            std::optional<long> beatType;
            for (const XmlElement& t : a.children) {
                if (t.name == "beats") {
                    std::string_view terms = t.text;
                    while (!terms.empty()) {
                        const auto plus = terms.find('+');
                        beats += ParseLong(terms.substr(0, plus)).value_or(0);
                        terms = plus == std::string_view::npos ? std::string_view() : terms.substr(plus + 1);
                    }
                } else if (t.name == "beat-type" && !beatType) {
                    beatType = ParseLong(t.text);
                }
            }
            if (beats <= 0 || beats > 255 || !beatType || *beatType <= 0 || *beatType > 256) {
                count("time");
                continue;
            }
            meterLength_ = whole_ * beats / *beatType;
            const std::string symbol = a.attribute("symbol");
            std::string meter = std::to_string(beats) + "/" + std::to_string(*beatType);
            if (symbol == "common" && meter == "4/4") meter = "C";
            if (symbol == "cut" && meter == "2/2") meter = "C/";
            const int staff = static_cast<int>(ParseLong(a.attribute("number")).value_or(0));
            part.staffMarks.push_back(
                {staff, SignMark(at, meterRank, nextOrder(), "\\meter<" + Quoted(meter) + ", autoBarlines=\"off\">")});
        } else if (a.name == "clef") {
            const int line = static_cast<int>(ParseLong(a.childText("line")).value_or(0));
            const int octave = static_cast<int>(ParseLong(a.childText("clef-octave-change")).value_or(0));
            const int number = ClefNumberOf(a.childText("sign"), line, octave);
            if (number < 1 || number > 12) {
                count("clef");
                continue;
            }
            const int staff = static_cast<int>(ParseLong(a.attribute("number")).value_or(1));
            part.staffMarks.push_back({std::max(staff, 1), SignMark(at, clefRank, nextOrder(),
                                                                "\\clef<" + Quoted(gmnClefs[number]) + ">")});
        } else if (a.name != "part-symbol" && a.name != "instruments" && a.name != "footnote" && a.name != "level") {
            count(a.name);
        }
    }
}

// "Noire = 120" for a metronome mark; nothing for one without a beat and a rate.
std::optional<std::string> TempoText(const XmlElement& metronome) {
    static constexpr std::pair<std::string_view, std::string_view> units[] = {
        {"whole", "Ronde"}, {"half", "Blanche"}, {"quarter", "Noire"}, {"eighth", "Croche"}, {"16th", "Double croche"}};
    const std::string unit = metronome.childText("beat-unit");
    const std::string rate = metronome.childText("per-minute");
    if (rate.empty()) return std::nullopt;
    for (const auto& [name, french] : units) {
        if (name != unit) continue;
        std::string text(french);
        for (const XmlElement& c : metronome.children)
            if (c.name == "beat-unit-dot") text += " pointée";
        return text + " = " + rate;
    }
    return std::nullopt;
}

void Converter::readDirection(const XmlElement& direction, int p, Ticks at) {
    Direction d;
    d.part = p;
    d.staff = static_cast<int>(std::clamp(ParseLong(direction.childText("staff")).value_or(1), 1L,
                                          static_cast<long>(parts_[p].staves)));
    d.voice = direction.childText("voice");
    const auto offset = ParseReal(direction.childText("offset"));
    const Ticks shift = offset && *offset > 0 ? ticksOf(direction.childText("offset")) : 0;
    d.mark.time = std::min(at + shift, latest());
    d.mark.rank = textRank;
    d.mark.text = true;
    for (const XmlElement& type : direction.children) {
        if (type.name != "direction-type") {
            if (type.name != "staff" && type.name != "voice" && type.name != "offset" && type.name != "sound")
                count(type.name);
            continue;
        }
        for (const XmlElement& t : type.children) {
            std::string tag;
            if (t.name == "dynamics") {
                for (const XmlElement& dyn : t.children)
                    tag = "\\intens<" + Quoted(dyn.name == "other-dynamics" ? dyn.text : dyn.name) + ">";
            } else if (t.name == "words" && !t.text.empty()) {
                tag = "\\text<" + Quoted(t.text) + ">";
            } else if (t.name == "metronome") {
                // A tempo map taken from a performance changes on every beat: a mark is written where the tempo
                // first appears and where it changes by a tenth or more, the small changes are counted.
                const auto text = TempoText(t);
                const double rate = ParseReal(t.childText("per-minute")).value_or(0);
                const bool shown = text && rate > 0 && (lastTempo_ <= 0 || std::abs(rate - lastTempo_) >= lastTempo_ / 10);
                if (!shown) {
                    count("metronome");
                    continue;
                }
                lastTempo_ = rate;
                tag = "\\tempo<" + Quoted(*text) + ">";
            } else if (t.name == "octave-shift") {
                readOctaveShift(t, d);
            } else if (t.name != "words") {
                count(t.name);
            }
            if (tag.empty()) continue;
            d.mark.tag = tag;
            d.mark.kind = t.name;
            d.mark.order = nextOrder();
            directions_.push_back(d);
        }
    }
}

// An octave line of the staff: the notes after it sound one or two octaves from where they are shown (GUIDO's \\oct,
// positive for 8va and 15ma), until its stop.
void Converter::readOctaveShift(const XmlElement& shift, const Direction& at) {
    const std::string type = shift.attribute("type");
    if (type == "continue") return;
    const unsigned code = type == "stop" ? 0 : OctaveShiftOf(type, static_cast<int>(ParseLong(shift.attribute("size")).value_or(8)));
    if (type != "stop" && code == 0) {
        count("octave-shift");
        return;
    }
    const int octaves = code <= 2 ? static_cast<int>(code) : 2 - static_cast<int>(code);
    parts_[static_cast<std::size_t>(at.part)].staffMarks.push_back(
        {at.staff, SignMark(at.mark.time, octaveRank, nextOrder(), "\\oct<" + std::to_string(octaves) + ">")});
}

void Converter::readBarline(const XmlElement& barline, int p, Ticks measureStart, BarAt& right) {
    const bool left = barline.attribute("location") == "left";
    BarAt& bar = left ? parts_[p].bars[measureStart] : right;
    for (const XmlElement& c : barline.children) {
        if (c.name == "bar-style") {
            const int code = BarCodeOf(c.text, false, false);
            bar.heavy = bar.heavy || code == 'D' || code == 'E';
        } else if (c.name == "repeat") {
            (c.attribute("direction") == "forward" ? bar.repeatForward : bar.repeatBack) = true;
        } else {
            count(c.name);
        }
    }
}

void Converter::readMeasure(const XmlElement& measure, int p, Ticks start, Ticks& length) {
    Ticks pos = 0, reached = 0;
    BarAt right;
    lastEvent_.reset();
    for (const XmlElement& c : measure.children) {
        if (c.name == "attributes") {
            readAttributes(c, p, start + pos);
        } else if (c.name == "note") {
            readNote(c, p, start, pos, reached);
        } else if (c.name == "backup") {
            pos = std::max<Ticks>(0, pos - ticksOf(c.childText("duration")));
        } else if (c.name == "forward") {
            pos = std::min(pos + ticksOf(c.childText("duration")), latest());
            reached = std::max(reached, pos);
        } else if (c.name == "direction") {
            readDirection(c, p, start + pos);
        } else if (c.name == "barline") {
            readBarline(c, p, start, right);
        } else if (c.name == "print") {
            const bool page = c.attribute("new-page") == "yes";
            if (ownBreaks_ && start > 0 && (page || c.attribute("new-system") == "yes"))
                parts_[p].staffMarks.push_back(
                    {0, SignMark(start, breakRank, nextOrder(), page ? "\\newPage" : "\\newSystem")});
        } else if (c.name != "sound" && c.name != "bookmark") {
            count(c.name);
        }
    }
    length = reached > 0 ? reached : meterLength_;
    BarAt& end = parts_[p].bars[std::min(start + length, latest())];
    end.repeatBack = end.repeatBack || right.repeatBack;
    end.repeatForward = end.repeatForward || right.repeatForward;
    end.heavy = end.heavy || right.heavy;
}

void Converter::readPart(const XmlElement& part, int index) {
    divisions_ = 1;
    meterLength_ = whole_;
    Ticks start = 0;
    for (const XmlElement& measure : part.children) {
        if (measure.name != "measure") {
            count(measure.name);
            continue;
        }
        Ticks length = 0;
        readMeasure(measure, index, start, length);
        start = std::min(start + length, latest());
    }
    Part& p = parts_[static_cast<std::size_t>(index)];
    p.end = start;
    // Every staff the part declares is written, with its signs, even when no note falls on it.
    for (int staff = 1; staff <= p.staves; ++staff)
        if (voicesOnStaff_[{index, staff}] == 0) stream(index, staff, "1");
}

// A text goes to the voice it names on its staff, else to the first voice of that staff.
void Converter::placeDirections() {
    for (Direction& d : directions_) {
        auto it = streamOf_.find({d.part, d.staff, d.voice});
        Stream* target = it == streamOf_.end() ? nullptr : &streams_[it->second];
        for (Stream& s : streams_)
            if (!target && s.part == d.part && s.staff == d.staff && s.voiceOrder == 0) target = &s;
        if (target) target->marks.push_back(std::move(d.mark));
    }
}

std::string Converter::writeEvent(const Event& e, std::map<int, int>& ties, std::map<int, int>& slurs) {
    std::string before, body, after;
    // A tie that ends on this note closes after it; one that starts here opens before it.
    for (const Pitch& p : e.pitches) {
        if (!p.tieStop) continue;
        const auto open = ties.find(p.key);
        if (open == ties.end()) continue;
        after += " \\tieEnd:" + std::to_string(open->second);
        ties.erase(open);
    }
    for (const Pitch& p : e.pitches) {
        if (!p.tieStart || ties.contains(p.key)) continue;
        ties[p.key] = ++tieNumber_;
        before += "\\tieBegin:" + std::to_string(tieNumber_) + " ";
    }
    for (int n : e.slurStops) {
        const auto open = slurs.find(n);
        if (open == slurs.end()) continue;
        after += " \\slurEnd:" + std::to_string(open->second);
        slurs.erase(open);
    }
    for (int n : e.slurStarts) {
        slurs[n] = ++slurNumber_;
        before += "\\slurBegin:" + std::to_string(slurNumber_) + " ";
    }
    if (e.beamBegin) before += "\\beamBegin ";
    if (e.beamEnd) after += " \\beamEnd";
    for (const std::string& t : e.texts) before += t + " ";
    const std::string duration = Duration(e.length, whole_);
    if (e.kind == EventKind::Rest) {
        body = "_" + duration;
    } else if (e.kind == EventKind::Empty) {
        body = "empty" + duration;
    } else if (e.pitches.size() == 1) {
        body = e.pitches.front().gmn + duration;
    } else {
        body = "{";
        for (std::size_t i = 0; i < e.pitches.size(); ++i) body += (i ? ", " : "") + e.pitches[i].gmn + duration;
        body += "}";
    }
    static constexpr std::pair<unsigned, std::string_view> articulationTags[] = {
        {1, "\\stacc("}, {2, "\\accent("}, {3, "\\stacc<type=\"heavy\">("}, {5, "\\marcato("}};
    for (const auto& [kind, tag] : articulationTags)
        if (e.articulation == kind) body = std::string(tag) + body + ")";
    if (e.grace) body = "\\grace(" + body + ")";
    return before + body + after;
}

std::string Converter::writeSequence(Stream& s, int staffNumber, bool first, const std::string& brace) {
    std::vector<const Mark*> marks;
    const Part& part = parts_[static_cast<std::size_t>(s.part)];
    for (const auto& [staff, mark] : part.staffMarks)
        if (staff == 0 || staff == s.staff) marks.push_back(&mark);
    for (const Mark& m : s.marks) marks.push_back(&m);
    std::vector<Mark> bars;
    for (const auto& [time, bar] : part.bars) {
        // The last bar of the piece is the layout's final bar, unless it repeats.
        const bool last = time >= part.end;
        std::string tag;
        if (bar.repeatBack) tag = "\\repeatEnd";
        if (bar.repeatForward && !last) tag += std::string(tag.empty() ? "" : " ") + "\\repeatBegin";
        if (tag.empty() && !last && time > 0) tag = bar.heavy ? "\\doubleBar" : "\\bar";
        if (!tag.empty()) bars.push_back(SignMark(time, barRank, 0, tag));
    }
    for (const Mark& m : bars) marks.push_back(&m);
    std::stable_sort(marks.begin(), marks.end(), [](const Mark* a, const Mark* b) {
        return std::tie(a->time, a->rank, a->order) < std::tie(b->time, b->rank, b->order);
    });
    std::stable_sort(s.events.begin(), s.events.end(),
                     [](const Event& a, const Event& b) { return std::tie(a.onset, a.order) < std::tie(b.onset, b.order); });

    std::string body;
    std::vector<LyricLine> lines(verses_.size());
    std::map<int, int> ties, slurs;
    std::string clef, key, meter;
    std::vector<const Mark*> texts;
    Ticks cursor = 0;
    const auto add = [&body](const std::string& token) { AddToken(body, token); };
    // The voice's first verse falls on its notes and on the empty events between them, never on a rest; a further
    // verse on an empty event for each of them, its rests included.
    const auto hold = [&](Ticks length, const Event* note, std::size_t firstVerse) {
        for (std::size_t v = firstVerse; v < lines.size(); ++v) {
            if (v > 0) AddToken(lines[v].places, "empty" + Duration(length, whole_));
            const auto syllable = note ? note->lyrics.find(verses_[v]) : std::map<std::string, std::string>::const_iterator{};
            lines[v].syllables.push_back(note && syllable != note->lyrics.end() ? std::optional(syllable->second)
                                                                                 : std::nullopt);
        }
    };
    const auto fillTo = [&](Ticks time) {
        while (cursor < time) {
            const Ticks gap = std::min(time - cursor, longest());
            add("empty" + Duration(gap, whole_));
            hold(gap, nullptr, 0);
            cursor += gap;
        }
    };
    std::size_t m = 0, e = 0;
    while (m < marks.size() || e < s.events.size()) {
        const bool takeMark = m < marks.size() && (e == s.events.size() || marks[m]->time <= s.events[e].onset);
        if (takeMark) {
            const Mark& mark = *marks[m++];
            fillTo(mark.time);
            std::string* last = mark.rank == clefRank ? &clef : mark.rank == keyRank ? &key : mark.rank == meterRank ? &meter : nullptr;
            if (mark.text) {
                texts.push_back(&mark);
            } else if (!last || *last != mark.tag) {
                add(mark.tag);
                if (last) *last = mark.tag;
            }
            continue;
        }
        Event& ev = s.events[e++];
        if (ev.onset < cursor) {
            // Two notes of one voice that overlap: the later one has no place in the voice.
            count("note");
            continue;
        }
        fillTo(ev.onset);
        // The import writes no text at a chord: its texts are counted as left out rather than lost unnoticed.
        for (const Mark* t : texts) {
            if (ev.pitches.size() > 1) count(t->kind);
            else ev.texts.insert(ev.texts.begin(), t->tag);
        }
        texts.clear();
        add(writeEvent(ev, ties, slurs));
        if (!ev.grace) {
            cursor = ev.onset + ev.length;
            hold(ev.length, &ev, ev.kind == EventKind::Note ? 0 : 1);
        }
    }
    for (const Mark* t : texts) count(t->kind);
    fillTo(part.end);

    const std::string staffTag = "[ \\staff<" + std::to_string(staffNumber) + "> ";
    std::string seq = staffTag + brace;
    if (first)
        for (const std::string& h : headings_) seq += h + " ";
    if (fileBeams_) seq += "\\beamsOff ";
    if (lines.empty() || !lines.front().hasSyllables()) seq += body + "]";
    else seq += "\\lyrics<" + Quoted(lines.front().text()) + ">( " + body + ") ]";
    for (std::size_t v = 1; v < lines.size(); ++v)
        if (lines[v].hasSyllables())
            seq += ",\n" + staffTag + "\\lyrics<" + Quoted(lines[v].text()) + ">( " + lines[v].places + ") ]";
    return seq;
}

// Another program's system and page breaks are its own layout, at its staff size and spacing: kept here they would
// leave lines half empty or overfull, so its scores are laid out afresh. A score this program wrote keeps its breaks.
bool WrittenHere(const XmlElement& root) {
    const XmlElement* id = root.child("identification");
    const XmlElement* encoding = id != nullptr ? id->child("encoding") : nullptr;
    if (encoding == nullptr) return false;
    return std::any_of(encoding->children.begin(), encoding->children.end(), [](const XmlElement& c) {
        return c.name == "software" && std::string_view(c.text).starts_with(productName);
    });
}

MusicXmlConversion Converter::run(const XmlElement& root) {
    const bool timewise = root.name == "score-timewise";
    if (root.name != "score-partwise" && !timewise) return result_;
    result_.isMusicXml = true;
    whole_ = WholeTicksOf(root);
    ownBreaks_ = WrittenHere(root);
    readHeadings(root);
    // The parts in the order the part list gives them; a timewise score is read as its parts' measures.
    std::vector<XmlElement> timewiseParts;
    std::vector<const XmlElement*> partElements;
    if (timewise) {
        std::map<std::string, std::size_t> byId;
        for (const XmlElement& measure : root.children) {
            if (measure.name != "measure") continue;
            for (const XmlElement& part : measure.children) {
                if (part.name != "part") continue;
                const std::string id = part.attribute("id");
                auto [it, added] = byId.emplace(id, timewiseParts.size());
                if (added) timewiseParts.push_back(XmlElement{"part", {{"id", id}}, {}, {}, part.line, part.column});
                XmlElement m = part;
                m.name = "measure";
                timewiseParts[it->second].children.push_back(std::move(m));
            }
        }
        for (const XmlElement& p : timewiseParts) partElements.push_back(&p);
    } else {
        for (const XmlElement& c : root.children)
            if (c.name == "part") partElements.push_back(&c);
    }
    for (const XmlElement& c : root.children) {
        static const std::set<std::string_view> known = {"work", "movement-number", "movement-title", "identification",
                                                         "defaults", "credit", "part-list", "part", "measure"};
        if (!known.contains(c.name)) count(c.name);
    }
    parts_.resize(partElements.size());
    for (std::size_t p = 0; p < partElements.size(); ++p) readPart(*partElements[p], static_cast<int>(p));
    placeDirections();
    orderVerses();

    // Sequences by part, staff and voice; the staves of the score numbered from 1 down the parts.
    std::vector<std::size_t> order(streams_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const Stream &x = streams_[a], &y = streams_[b];
        return std::tie(x.part, x.staff, x.voiceOrder) < std::tie(y.part, y.staff, y.voiceOrder);
    });
    std::string gmn = "{\n";
    int staffNumber = 0;
    std::pair<int, int> lastStaff{-1, -1};
    for (std::size_t i = 0; i < order.size(); ++i) {
        Stream& s = streams_[order[i]];
        if (std::make_pair(s.part, s.staff) != lastStaff) ++staffNumber;
        lastStaff = {s.part, s.staff};
        // The staves of a part are one instrument: a brace joins them, whatever their clefs.
        const int staves = parts_[static_cast<std::size_t>(s.part)].staves;
        const std::string brace = s.staff == 1 && s.voiceOrder == 0 && staves > 1
                                      ? "\\accol<range=\"" + std::to_string(staffNumber) + "-" +
                                            std::to_string(staffNumber + staves - 1) + "\", type=\"curlyBrace\"> "
                                      : "";
        gmn += (i ? ",\n" : "") + writeSequence(s, staffNumber, i == 0, brace);
    }
    result_.gmn = gmn + "\n}\n";
    return result_;
}

}  // namespace

MusicXmlConversion ConvertMusicXml(const XmlElement& root) { return Converter().run(root); }

std::string DescribeLeftOut(const std::map<std::string, int>& leftOut) {
    std::string text;
    for (const auto& [name, n] : leftOut) text += (text.empty() ? "" : ", ") + name + " (" + std::to_string(n) + ")";
    return text;
}

}  // namespace notavera
