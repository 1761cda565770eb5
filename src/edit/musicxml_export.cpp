// The MusicXML export: a plan of the parts over every page, then a reading of
// each voice from page to page (curves, beams, lyrics), then the measures of
// every system written part by part.
#include "edit/musicxml_export.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <utility>

#include "midi/meter_rules.h"
#include "midi/note_key.h"
#include "platform/ansi_text.h"
#include "platform/messages.h"
#include "score/accidental_context.h"
#include "score/durations.h"
#include "score/mus_file.h"
#include "score/musicxml_names.h"
#include "score/text_records.h"

namespace notavera {
namespace {

constexpr unsigned lastPlainCode = 10;
constexpr unsigned wholeCode = 2;
constexpr unsigned quarterCode = 4;
constexpr unsigned openingMark = 1;  // group marks of a tuplet
constexpr unsigned closingMark = 2;
constexpr long maxTupletFactor = 1L << 16;  // beyond, durations are rounded rather than divisions multiplied
constexpr int tenthsPerStaffHeight = 40;
constexpr double pointsPerPageUnit = 72.0 / 254.0;
constexpr int printerStrip = 40;  // the strip at the page's foot that the page size leaves unused

std::string Num(long long v) { return std::to_string(v); }

// ---- The plan: the parts, the systems of every page and the staves of each
// part in them.

struct SystemPlan {
    int page = 0;
    std::vector<int> staves;  // staff indices of the page, top to bottom
};

// A part's voices in the order of their staves, top to bottom. A voice on a staff superposed on the one above shares
// its MusicXML staff: `staves` gives the staff (from 1) of each voice.
struct PartPlan {
    std::vector<unsigned> voices;
    std::vector<int> staves;
    std::string name;

    int staffCount() const { return staves.empty() ? 0 : *std::max_element(staves.begin(), staves.end()); }
    // A voice on a staff of its own below the others, or a further voice of the staff that voice `on` is on.
    void add(unsigned voice, std::optional<unsigned> on = std::nullopt) {
        const auto other = on ? std::find(voices.begin(), voices.end(), *on) : voices.end();
        staves.push_back(other != voices.end() ? staves[static_cast<std::size_t>(other - voices.begin())]
                                               : staffCount() + 1);
        voices.push_back(voice);
    }
};

// The systems of a page by the position and size each staff's voice word
// records; numbering ends at a staff that records no position.
std::vector<std::vector<int>> SystemsOfPage(const PageRecord& page) {
    std::vector<std::vector<int>> systems;
    const int count = static_cast<int>(page.staves.size());
    for (int i = 0; i < count;) {
        const auto voice = page.staves[static_cast<std::size_t>(i)].voice();
        if (voice.positionInGroup() == 0) break;
        const int size =
            std::max(1, static_cast<int>(voice.groupSize()) - static_cast<int>(voice.positionInGroup()) + 1);
        std::vector<int> system;
        for (int k = i; k < std::min(count, i + size); ++k) system.push_back(k);
        systems.push_back(std::move(system));
        i += size;
    }
    return systems;
}

// A staff that stands at the height of the staff above it: a further voice of that staff.
bool Superposed(const PageRecord& page, const std::vector<int>& system, int i) {
    return i != system.front() && page.staves[static_cast<std::size_t>(i)].key().distance() == 0;
}

// The staves of a system that a brace joins into one part: runs from a braced
// group's first staff to its last.
std::vector<std::vector<int>> BracedStaves(const PageRecord& page, const std::vector<int>& system) {
    std::vector<std::vector<int>> groups;
    std::vector<int> run;
    bool open = false;
    for (int i : system) {
        const StaffRecord& s = page.staves[static_cast<std::size_t>(i)];
        const unsigned grouping = s.key().blockGrouping();
        if (grouping == 1 && s.lines().brace()) {
            open = true;
            run.clear();
        }
        if (open) run.push_back(i);
        if (open && grouping == 2) {
            if (run.size() > 1) groups.push_back(run);
            open = false;
        }
    }
    return groups;
}

// ---- Small readings of elements.

bool IsGrace(const ElementRecord& e, bool appoggiaturas) { return appoggiaturas && e.w0().cueSize(); }

bool HasPlainValue(const ElementRecord& e) { return !e.isSign() && e.noteWord().durationCode() <= lastPlainCode; }

// A note's written value in 256ths of a whole, its proportion n:d applied (n
// notes in the time of d).
struct Value {
    long num = 0;
    long den = 1;
};

Value WrittenValue(const ElementRecord& e) {
    const auto nw = e.noteWord();
    Value v{NoteDuration(nw.durationCode(), nw.dots()), 1};
    const long n = e.w1().numerator(), d = e.w1().denominator();
    if (n != d && n != 0 && d != 0) {
        v.num *= d;
        v.den = n;
    }
    return v;
}

// A text's characters in UTF-8; control characters, which XML cannot carry, become spaces.
std::string TextOf(const ElementRecord& e) {
    std::string chars = TextCharacters(e);
    for (char& c : chars)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return AnsiToUtf8(chars);
}

std::string Trimmed(std::string s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// ---- The reading of a voice from page to page: what a note carries that
// depends on its neighbours.

struct NoteMarks {
    bool tieStart = false, tieStop = false, slurStart = false, slurStop = false;
    std::vector<std::string> beams;  // begin, continue, end or a hook, one per beam level
    struct Lyric {
        unsigned verse = 0;
        std::string syllabic;
        std::string text;
    };
    std::vector<Lyric> lyrics;
};

// The notes of one staff that share an x, or a rest alone.
struct Group {
    std::vector<const ElementRecord*> members;
    bool rest() const { return members.front()->isRest(); }
    int x() const { return members.front()->x; }
    bool any(bool (*f)(const ElementRecord&)) const {
        return std::any_of(members.begin(), members.end(), [f](auto* m) { return f(*m); });
    }
};

std::vector<Group> GroupsOfStaff(const StaffRecord& staff) {
    std::vector<Group> groups;
    for (const ElementRecord& e : staff.elements) {
        if (!HasPlainValue(e) && !(e.isRest())) continue;
        if (e.isNote() && !groups.empty() && !groups.back().rest() && groups.back().x() == e.x) {
            groups.back().members.push_back(&e);
            continue;
        }
        groups.push_back(Group{{&e}});
    }
    return groups;
}

bool CurveStarts(const ElementRecord& e) { return e.w0().tiedToNext() && e.w0().tieStarts(); }
bool CurveEnds(const ElementRecord& e) { return e.w0().tiedToNext() && e.w0().tieEnds(); }
bool InBeam(const ElementRecord& e) { return e.w0().inBeam(); }
bool OpensBeam(const ElementRecord& e) { return e.w0().opensBeam(); }
bool ClosesBeam(const ElementRecord& e) { return e.w0().closesBeam(); }

class VoiceReading {
public:
    explicit VoiceReading(std::map<const ElementRecord*, NoteMarks>& marks) : marks_(marks) {}

    // One line of the voice, in score order.
    void addLine(const StaffRecord& staff) {
        const std::vector<Group> groups = GroupsOfStaff(staff);
        for (const Group& g : groups) {
            if (g.rest() && g.members.front()->w0().hidden()) continue;  // a hidden rest only holds a place
            flat_.push_back(g);
        }
        readBeams(groups);
        readLyrics(staff, groups, 0);
    }

    // One line of a voice that holds no notes, only a further verse of lyrics under the notes of `carrier`, the
    // voice its staff stands on: the syllables go to those notes, as the verse after `verses` others.
    void addVerseLine(const StaffRecord& staff, const StaffRecord& carrier, int verses) {
        readLyrics(staff, GroupsOfStaff(carrier), verses);
    }

    void finish() {
        readCurves();
        closeLyrics();
    }

private:
    // A curve from a group to the next group that ends one is a tie when the two
    // follow each other and share keys; otherwise a slur.
    void readCurves() {
        std::optional<std::size_t> open;
        for (std::size_t i = 0; i < flat_.size(); ++i) {
            const Group& g = flat_[i];
            if (g.rest()) continue;
            if (open && g.any(CurveEnds)) {
                pair(*open, i);
                open.reset();
            }
            if (g.any(CurveStarts)) open = i;
        }
    }

    void pair(std::size_t from, std::size_t to) {
        const Group& a = flat_[from];
        const Group& b = flat_[to];
        bool tied = false;
        if (to == from + 1) {
            for (const ElementRecord* m : b.members) {
                const auto key = MidiKeyOfNote(*m);
                const auto same = std::find_if(a.members.begin(), a.members.end(),
                                               [&](const ElementRecord* f) { return MidiKeyOfNote(*f) == key; });
                if (same == a.members.end()) continue;
                marks_[*same].tieStart = true;
                marks_[m].tieStop = true;
                tied = true;
            }
        }
        if (tied) return;
        marks_[a.members.front()].slurStart = true;
        marks_[b.members.front()].slurStop = true;
    }

    // The beam levels of each group of a beamed run: the first level joins the
    // run, each further level the neighbours short enough to carry it, a lone
    // short note taking a hook.
    void readBeams(const std::vector<Group>& groups) {
        std::vector<const Group*> run;
        for (const Group& g : groups) {
            if (g.rest()) continue;
            const bool inBeam = g.any(InBeam);
            if (g.any(OpensBeam) || !inBeam) closeBeam(run);
            if (!inBeam) continue;
            run.push_back(&g);
            if (g.any(ClosesBeam)) closeBeam(run);
        }
        closeBeam(run);
    }

    static int BeamLevels(const Group& g) {
        return std::max(0,
                        static_cast<int>(g.members.front()->noteWord().durationCode()) - static_cast<int>(quarterCode));
    }

    void closeBeam(std::vector<const Group*>& run) {
        run.erase(std::remove_if(run.begin(), run.end(), [](const Group* g) { return BeamLevels(*g) == 0; }),
                  run.end());
        if (run.size() >= 2) {
            for (std::size_t i = 0; i < run.size(); ++i) {
                auto& beams = marks_[run[i]->members.front()].beams;
                const int levels = BeamLevels(*run[i]);
                for (int level = 1; level <= levels; ++level) {
                    const bool before = i > 0 && BeamLevels(*run[i - 1]) >= level;
                    const bool after = i + 1 < run.size() && BeamLevels(*run[i + 1]) >= level;
                    if (before && after)
                        beams.push_back("continue");
                    else if (after)
                        beams.push_back("begin");
                    else if (before)
                        beams.push_back("end");
                    else
                        beams.push_back(i + 1 < run.size() ? "forward hook" : "backward hook");
                }
            }
        }
        run.clear();
    }

    // Syllables stand at the x of their note; a syllable "-" (or one ending in
    // '-') says the word goes on.
    void readLyrics(const StaffRecord& staff, const std::vector<Group>& groups, int verseOffset) {
        for (const ElementRecord& e : staff.elements) {
            if (!IsText(e)) continue;
            const TextAttributes a = TextAttributesOf(e);
            if (a.category != TextCategory::Lyrics) continue;
            std::string text = Trimmed(TextOf(e));
            Verse& verse = verses_[a.type];
            if (text.empty()) continue;
            if (text.find_first_not_of('-') == std::string::npos) {
                verse.continues = verse.note != nullptr;
                continue;
            }
            const ElementRecord* note = NoteAt(groups, e.x);
            if (!note) continue;
            bool continues = false;
            if (text.size() > 1 && text.back() == '-') {
                text.pop_back();
                continues = true;
            }
            closeSyllable(verse, false);
            marks_[note].lyrics.push_back({a.type + 1 + verseOffset, "", std::move(text)});
            verse.note = note;
            verse.index = marks_[note].lyrics.size() - 1;
            verse.continued = verse.continues;
            verse.continues = continues;
        }
    }

    static const ElementRecord* NoteAt(const std::vector<Group>& groups, int x) {
        const Group* best = nullptr;
        for (const Group& g : groups) {
            if (g.rest()) continue;
            if (!best || std::abs(g.x() - x) < std::abs(best->x() - x)) best = &g;
        }
        return best ? best->members.front() : nullptr;
    }

    struct Verse {
        const ElementRecord* note = nullptr;  // the note of the syllable before,
                                              // whose syllabic is not yet known
        std::size_t index = 0;                // and its place among that note's lyrics
        bool continued = false;               // the word went on into that syllable
        bool continues = false;               // a hyphen follows it
    };

    void closeSyllable(Verse& v, bool atEnd) {
        if (!v.note) return;
        const bool on = v.continues && !atEnd;
        marks_[v.note].lyrics[v.index].syllabic = v.continued ? (on ? "middle" : "end") : (on ? "begin" : "single");
        v.note = nullptr;
    }

    void closeLyrics() {
        for (auto& [type, verse] : verses_) closeSyllable(verse, true);
    }

    std::map<const ElementRecord*, NoteMarks>& marks_;
    std::vector<Group> flat_;
    std::map<unsigned, Verse> verses_;
};

// ---- The writer.

struct Credit {
    int page = 0;
    std::string type;
    std::string text;
    int size = 0;
    int x = 0;
};

// What a part's staff carries from measure to measure.
struct StaffState {
    int clef = 0;
    unsigned octaveShift = 0;
    BarMeasure measure;
};

struct PartState {
    std::optional<int> fifths;
    std::string time;  // "n/d symbol" of the last time written
    std::vector<StaffState> staves;
    bool forwardRepeat = false;  // the next measure opens with a repeat
    bool started = false;
};

// The elements of a staff between two bars.
struct Segment {
    std::vector<const ElementRecord*> items;
    std::optional<int> bar;  // the code of the bar that closes it
    bool hasTime() const {
        return std::any_of(items.begin(), items.end(), [](auto* e) { return HasPlainValue(*e) || e->isRest(); });
    }
};

std::vector<Segment> SegmentsOfStaff(const StaffRecord& staff) {
    std::vector<Segment> segments(1);
    for (const ElementRecord& e : staff.elements) {
        if (DividesBars(e)) {
            segments.back().bar = e.signWord().signedCode();
            segments.emplace_back();
        } else {
            segments.back().items.push_back(&e);
        }
    }
    // A stretch without notes gives its signs to the next measure, or at the end
    // of the line to the last one.
    std::vector<Segment> measures;
    Segment pending;
    for (Segment& s : segments) {
        pending.items.insert(pending.items.end(), s.items.begin(), s.items.end());
        if (s.bar) pending.bar = s.bar;
        if (!pending.hasTime()) continue;
        measures.push_back(std::move(pending));
        pending = Segment{};
    }
    if (!pending.items.empty() || pending.bar) {
        if (measures.empty()) {
            measures.push_back(std::move(pending));
        } else {
            Segment& last = measures.back();
            last.items.insert(last.items.end(), pending.items.begin(), pending.items.end());
            if (pending.bar) last.bar = pending.bar;
        }
    }
    return measures;
}

// A bar of one rest of a whole note or longer: a rest for the whole bar, however long the bar is.
bool IsWholeBarRest(const std::vector<const ElementRecord*>& items) {
    const auto timed = [](const ElementRecord* e) { return !e->isSign(); };
    if (std::count_if(items.begin(), items.end(), timed) != 1) return false;
    const ElementRecord& e = **std::find_if(items.begin(), items.end(), timed);
    return e.isRest() && HasPlainValue(e) && e.noteWord().durationCode() <= wholeCode;
}

class MusicXmlWriter {
public:
    MusicXmlWriter(ScoreDocument& doc, const std::vector<PageRecord>& pages) : doc_(doc), pages_(pages) {
        appoggiaturas_ = doc.header.midi().ornamentsAsAppoggiaturas() != 0;
    }

    XmlElement build() {
        plan();
        // A score has at least one part of one measure, even without a staff to follow.
        if (parts_.empty()) parts_.emplace_back().add(0);
        if (systems_.empty()) systems_.push_back({pages_.empty() ? 1 : static_cast<int>(pages_.front().number), {}});
        readVoices();
        chooseDivisions();
        std::vector<XmlElement> parts(parts_.size());
        states_.assign(parts_.size(), PartState{});
        for (std::size_t p = 0; p < parts_.size(); ++p) {
            parts[p].name = "part";
            SetAttribute(parts[p], "id", "P" + Num(static_cast<long long>(p + 1)));
            states_[p].staves.resize(parts_[p].voices.size());
        }
        int number = 0;
        int lastPage = 0;
        for (const SystemPlan& system : systems_) {
            const bool newPage = lastPage != 0 && system.page != lastPage;
            const bool newSystem = lastPage != 0 && !newPage;
            lastPage = system.page;
            currentPage_ = system.page;
            writeSystem(system, parts, number, newPage, newSystem);
        }
        for (std::size_t p = 0; p < parts.size(); ++p) closePart(p, parts[p]);
        return assemble(std::move(parts));
    }

private:
    void plan() {
        std::map<unsigned, std::size_t> partOfVoice;
        for (const PageRecord& page : pages_) {
            for (const std::vector<int>& system : SystemsOfPage(page)) {
                systems_.push_back({static_cast<int>(page.number), system});
                const auto voiceOf = [&page](int i) { return page.staves[static_cast<std::size_t>(i)].voice().voice(); };
                const auto standsOn = [&](int i) {
                    return Superposed(page, system, i) ? std::optional(voiceOf(i - 1)) : std::nullopt;
                };
                for (const auto& braced : BracedStaves(page, system)) {
                    if (std::any_of(braced.begin(), braced.end(), [&](int i) { return partOfVoice.count(voiceOf(i)); }))
                        continue;
                    PartPlan part;
                    for (int i : braced) {
                        if (partOfVoice.count(voiceOf(i))) continue;
                        partOfVoice[voiceOf(i)] = parts_.size();
                        part.add(voiceOf(i), standsOn(i));
                    }
                    parts_.push_back(std::move(part));
                }
                // The other staves are parts of their own, or further voices of the staff they stand on.
                for (int i : system) {
                    const unsigned v = voiceOf(i);
                    if (partOfVoice.count(v)) continue;
                    const auto on = standsOn(i);
                    const auto above = on ? partOfVoice.find(*on) : partOfVoice.end();
                    const std::size_t p = above == partOfVoice.end() ? parts_.size() : above->second;
                    if (p == parts_.size()) parts_.emplace_back();
                    parts_[p].add(v, on);
                    partOfVoice[v] = p;
                }
            }
        }
    }

    // The staff of the system that carries a voice: the first one with it.
    const StaffRecord* staffOfVoice(const SystemPlan& system, unsigned voice) const {
        if (system.staves.empty()) return nullptr;
        const PageRecord& page = pageOf(system);
        for (int i : system.staves)
            if (page.staves[static_cast<std::size_t>(i)].voice().voice() == voice)
                return &page.staves[static_cast<std::size_t>(i)];
        return nullptr;
    }

    const PageRecord& pageOf(const SystemPlan& system) const {
        return *std::find_if(pages_.begin(), pages_.end(),
                             [&](const PageRecord& p) { return static_cast<int>(p.number) == system.page; });
    }

    void readVoices() {
        for (const PartPlan& part : parts_) {
            for (unsigned voice : part.voices) {
                VoiceReading reading(marks_);
                for (const SystemPlan& system : systems_) {
                    const StaffRecord* staff = staffOfVoice(system, voice);
                    if (staff == nullptr) continue;
                    if (const auto carrier = verseCarrier(system, *staff)) reading.addVerseLine(*staff, *carrier->first, carrier->second);
                    else reading.addLine(*staff);
                }
                reading.finish();
            }
        }
    }

    // A staff without notes superposed on others carries a further verse of the first of them (as the import writes
    // verses after the first): that staff, and how many voices stand between them.
    std::optional<std::pair<const StaffRecord*, int>> verseCarrier(const SystemPlan& system, const StaffRecord& staff) const {
        if (std::any_of(staff.elements.begin(), staff.elements.end(), [](const ElementRecord& e) { return e.isNote(); }))
            return std::nullopt;
        const PageRecord& page = pageOf(system);
        const auto at = std::find_if(system.staves.begin(), system.staves.end(),
                                     [&](int i) { return &page.staves[static_cast<std::size_t>(i)] == &staff; });
        if (at == system.staves.end()) return std::nullopt;
        auto first = at;
        while (first != system.staves.begin() && Superposed(page, system.staves, *first)) --first;
        if (first == at) return std::nullopt;
        return std::pair{&page.staves[static_cast<std::size_t>(*first)], static_cast<int>(at - first)};
    }

    // Divisions per quarter: 64 (a 256th of a whole each) times what makes every
    // proportioned value whole.
    void chooseDivisions() {
        long factor = 1;
        for (const PageRecord& page : pages_)
            for (const StaffRecord& staff : page.staves)
                for (const ElementRecord& e : staff.elements) {
                    if (!HasPlainValue(e)) continue;
                    const Value v = WrittenValue(e);
                    const long need = v.den / std::gcd(v.den, v.num);
                    const long next = std::lcm(factor, need);
                    if (next <= maxTupletFactor) factor = next;
                }
        factor_ = factor;
    }

    long long divisionsOf(const Value& v) const {
        return std::llround(static_cast<double>(v.num) * static_cast<double>(factor_) / static_cast<double>(v.den));
    }

    long long barDivisions(const BarMeasure& m) const {
        return std::max(1LL, std::llround(static_cast<double>(m.barLength) * static_cast<double>(factor_) / 4.0));
    }

    void writeSystem(const SystemPlan& system, std::vector<XmlElement>& parts, int& number, bool newPage,
                     bool newSystem) {
        std::vector<std::vector<std::vector<Segment>>> segments(parts_.size());
        std::size_t count = 0;
        for (std::size_t p = 0; p < parts_.size(); ++p) {
            for (unsigned voice : parts_[p].voices) {
                const StaffRecord* staff = staffOfVoice(system, voice);
                segments[p].push_back(staff ? SegmentsOfStaff(*staff) : std::vector<Segment>{});
            }
            alignToFirstVoice(segments[p]);
            for (const auto& lane : segments[p]) count = std::max(count, lane.size());
        }
        // A system without notes still stands for a line of the score: one measure.
        count = std::max<std::size_t>(count, 1);
        for (std::size_t k = 0; k < count; ++k) {
            ++number;
            // A rest that stands for a whole bar lasts as long as the notes of the other voices make the bar: a line
            // may end inside a bar.
            std::optional<long long> length;
            for (const auto& lanes : segments)
                for (const auto& lane : lanes)
                    if (const auto l = k < lane.size() ? lengthOf(lane[k]) : std::nullopt; l && *l > 0)
                        length = std::max(length.value_or(0), *l);
            for (std::size_t p = 0; p < parts_.size(); ++p) {
                XmlElement& m = AddChild(parts[p], "measure");
                SetAttribute(m, "number", Num(number));
                if (k == 0 && newPage)
                    SetAttribute(AddChild(m, "print"), "new-page", "yes");
                else if (k == 0 && newSystem)
                    SetAttribute(AddChild(m, "print"), "new-system", "yes");
                writeMeasure(p, m, segments[p], k, system, number == 1, length);
            }
            // A first measure shorter than its meter is an upbeat: it takes no number of its own.
            if (number == 1 && length && *length < barDivisions(states_.front().staves.front().measure)) {
                for (XmlElement& part : parts) SetAttribute(SetAttribute(part.children.back(), "number", "0"), "implicit", "yes");
                number = 0;
            }
        }
    }

    // The time a voice's element moves on by, in divisions, as writeStaff counts it: a chord by its shortest member,
    // signs, grace notes and the chord's other members not at all. Nothing for a rest whose length the bar decides.
    std::optional<long long> advanceAt(const std::vector<const ElementRecord*>& items, std::size_t i) const {
        const ElementRecord& e = *items[i];
        if (e.isSign() || IsGrace(e, appoggiaturas_)) return 0;
        if (!HasPlainValue(e)) return e.isRest() ? std::nullopt : std::optional<long long>(0);
        if (IsWholeBarRest(items)) return std::nullopt;
        const auto chordMember = [&](std::size_t k) {
            return e.isNote() && items[k]->isNote() && items[k]->x == e.x && HasPlainValue(*items[k]);
        };
        if (i > 0 && chordMember(i - 1)) return 0;
        long long advance = divisionsOf(WrittenValue(e));
        for (std::size_t k = i + 1; k < items.size() && chordMember(k); ++k)
            advance = std::min(advance, divisionsOf(WrittenValue(*items[k])));
        return advance;
    }

    // How long a bar of a voice lasts by its notes and rests; nothing when a rest of the bar stands for all of it.
    std::optional<long long> lengthOf(const Segment& segment) const {
        long long length = 0;
        for (std::size_t i = 0; i < segment.items.size(); ++i) {
            const auto advance = advanceAt(segment.items, i);
            if (!advance) return std::nullopt;
            length += *advance;
        }
        return length;
    }

    // The times at which the bars of a voice end, as writeStaff counts time; nothing when a rest of the voice stands
    // for a whole bar, whose length only the other voices tell.
    std::optional<std::vector<long long>> barEnds(const std::vector<Segment>& lane) const {
        std::vector<long long> ends;
        long long time = 0;
        for (const Segment& segment : lane) {
            for (std::size_t i = 0; i < segment.items.size(); ++i) {
                const auto advance = advanceAt(segment.items, i);
                if (!advance) return std::nullopt;
                time += *advance;
            }
            ends.push_back(time);
        }
        return ends;
    }

    // A voice whose bars fall elsewhere than the part's first voice's (one that only rests, written without bar
    // lines, or one whose notes run on across the first voice's bars) is cut into measures where the first voice's
    // bars fall, so that each measure holds one bar of each voice.
    void alignToFirstVoice(std::vector<std::vector<Segment>>& lanes) {
        if (lanes.empty()) return;
        const auto ends = barEnds(lanes.front());
        if (!ends) return;
        for (std::size_t j = 1; j < lanes.size(); ++j) {
            const auto own = barEnds(lanes[j]);
            if (lanes[j].empty() || !own || *own == *ends) continue;
            if (auto cut = cutAtBars(lanes[j], *ends)) lanes[j] = std::move(*cut);
        }
    }

    // The voice's elements in measures that end at `ends`; a note, chord or rest across one of them is written as
    // its parts on either side, the notes' parts tied. Nothing when such an element cannot be parted exactly.
    std::optional<std::vector<Segment>> cutAtBars(const std::vector<Segment>& lane, const std::vector<long long>& ends) {
        std::vector<Segment> cut(1);
        std::size_t next = 0;
        long long time = 0;
        for (const Segment& segment : lane) {
            const auto& items = segment.items;
            for (std::size_t i = 0; i < items.size(); ++i) {
                const auto advance = advanceAt(items, i);
                if (!advance) return std::nullopt;
                if (*advance == 0) {
                    cut.back().items.push_back(items[i]);
                    continue;
                }
                std::vector<const ElementRecord*> chord{items[i]};
                while (i + 1 < items.size() && advanceAt(items, i + 1) == 0 && items[i + 1]->isNote() &&
                       items[i + 1]->x == items[i]->x)
                    chord.push_back(items[++i]);
                while (next < ends.size() && ends[next] < time) ++next;
                if (next < ends.size() && ends[next] == time) {
                    if (!cut.back().items.empty()) cut.emplace_back();
                    ++next;
                }
                long long at = time;
                for (; next < ends.size() && ends[next] < time + *advance; ++next) {
                    if (!addParts(cut.back(), chord, ends[next] - at, at == time, false)) return std::nullopt;
                    cut.emplace_back();
                    at = ends[next];
                }
                if (at == time) cut.back().items.insert(cut.back().items.end(), chord.begin(), chord.end());
                else if (!addParts(cut.back(), chord, time + *advance - at, false, true)) return std::nullopt;
                time += *advance;
            }
        }
        return cut;
    }

    // The part of `length` divisions of a chord (or rest), as notes of plain values tied one to the next: the first
    // part of the element keeps what opens at it (tie and slur starts, beams, syllables), its last part what closes.
    // False for a tuplet's note, or for a chord whose notes do not end together.
    bool addParts(Segment& segment, const std::vector<const ElementRecord*>& chord, long long length, bool first,
                  bool last) {
        const ElementRecord& head = *chord.front();
        for (const ElementRecord* e : chord) {
            const bool plain = e->w1().numerator() == e->w1().denominator() || e->w1().numerator() == 0 ||
                               e->w1().denominator() == 0;
            if (!plain || divisionsOf(WrittenValue(*e)) != divisionsOf(WrittenValue(head))) return false;
        }
        if (length % factor_ != 0) return false;
        const std::vector<unsigned> codes = SplitDuration(static_cast<int>(length / factor_));
        for (std::size_t k = 0; k < codes.size(); ++k) {
            const bool opens = first && k == 0, closes = last && k + 1 == codes.size();
            for (const ElementRecord* e : chord) {
                ElementRecord& part = pieces_.emplace_back(*e);
                part.noteWord().setDurationCode(codes[k]);
                part.noteWord().setDots(0);
                part.x = e->x + static_cast<int>(k);  // parts in one measure are not one chord
                const NoteMarks* whole = marksOf(*e);
                NoteMarks marks;
                if (e->isNote()) {
                    marks.tieStop = opens ? whole && whole->tieStop : true;
                    marks.tieStart = closes ? whole && whole->tieStart : true;
                }
                if (whole && opens) {
                    marks.slurStart = whole->slurStart;
                    marks.beams = whole->beams;
                    marks.lyrics = whole->lyrics;
                }
                if (whole && closes) marks.slurStop = whole->slurStop;
                marks_[&part] = std::move(marks);
                segment.items.push_back(&part);
            }
        }
        return true;
    }

    void writeMeasure(std::size_t p, XmlElement& m, const std::vector<std::vector<Segment>>& staves, std::size_t k,
                      const SystemPlan& system, bool firstMeasure, std::optional<long long> length) {
        PartState& state = states_[p];
        if (state.forwardRepeat) {
            XmlElement& b = AddChild(m, "barline");
            SetAttribute(b, "location", "left");
            AddChild(b, "bar-style", "heavy-light");
            SetAttribute(AddChild(b, "repeat"), "direction", "forward");
            state.forwardRepeat = false;
        }
        writeOpeningAttributes(p, m, staves, k, system);
        if (firstMeasure && p == 0) {
            const std::uint32_t tempo = doc_.header.midi().tempo();
            if (tempo > 0) SetAttribute(AddChild(m, "sound"), "tempo", Num(std::llround(60000000.0 / tempo)));
        }
        long long previous = 0, longest = 0;
        std::optional<int> bar;
        bool anyStaff = false;
        for (std::size_t j = 0; j < staves.size(); ++j) {
            if (k >= staves[j].size()) continue;
            const Segment& segment = staves[j][k];
            if (anyStaff && previous > 0) AddChild(AddChild(m, "backup"), "duration", Num(previous));
            previous = writeStaff(p, m, segment, static_cast<int>(j) + 1, length);
            longest = std::max(longest, previous);
            anyStaff = true;
            if (!bar && segment.bar) bar = segment.bar;
        }
        // The measure ends where its longest voice does: a shorter voice written last moves on to there.
        if (previous < longest) AddChild(AddChild(m, "forward"), "duration", Num(longest - previous));
        if (!anyStaff) {
            // The voice has no staff in this system: a silent bar keeps the parts in
            // step.
            XmlElement& n = AddChild(m, "note");
            SetAttribute(n, "print-object", "no");
            SetAttribute(AddChild(n, "rest"), "measure", "yes");
            AddChild(n, "duration", Num(barDivisions(state.staves.front().measure)));
            AddChild(n, "voice", "1");
        }
        if (bar) writeBarline(state, m, *bar);
    }

    void writeBarline(PartState& state, XmlElement& m, int code) {
        const auto style = MusicXmlBarOf(code);
        if (!style) return;
        if (style->repeatForward) state.forwardRepeat = true;
        if (code == '|') return;
        if (style->repeatForward && !style->repeatBackward) return;  // written as the next measure's left bar
        XmlElement& b = AddChild(m, "barline");
        SetAttribute(b, "location", "right");
        AddChild(b, "bar-style", std::string(style->style));
        if (style->repeatBackward) SetAttribute(AddChild(b, "repeat"), "direction", "backward");
    }

    // The key, time and clefs the measure opens with: the signs before its first
    // note, and at the part's first measure its divisions, staves and the clef
    // each staff starts in.
    void writeOpeningAttributes(std::size_t p, XmlElement& m, const std::vector<std::vector<Segment>>& staves,
                                std::size_t k, const SystemPlan& system) {
        PartState& state = states_[p];
        XmlElement attributes;
        attributes.name = "attributes";
        if (!state.started) AddChild(attributes, "divisions", Num(musicXmlDivisionsPerQuarter * factor_));
        std::vector<std::optional<int>> clefs(staves.size());
        std::optional<int> fifths;
        const ElementRecord* time = nullptr;
        for (std::size_t j = 0; j < staves.size(); ++j) {
            if (k == 0) {
                if (const StaffRecord* staff = staffOfVoice(system, parts_[p].voices[j]); staff && j == 0)
                    fifths = KeyFifths(staff->key().keyKind(), staff->key().keyCount());
            }
            if (k >= staves[j].size()) continue;
            for (const ElementRecord* e : staves[j][k].items) {
                if (HasPlainValue(*e) || e->isRest()) break;
                if (e->isSignOfType(SignType::Clef)) clefs[j] = static_cast<int>(e->signWord().code());
                if (j == 0 && e->isSignOfType(SignType::KeyChange)) fifths = KeyChangeFifths(*e);
                if (j == 0 && e->isSignOfType(SignType::TimeSignature)) time = e;
            }
        }
        if (!state.started && !fifths) fifths = 0;
        if (fifths && fifths != state.fifths) {
            AddChild(AddChild(attributes, "key"), "fifths", Num(*fifths));
            state.fifths = fifths;
        }
        if (time) addTime(p, attributes, *time, true);
        if (!state.started && parts_[p].staffCount() > 1) AddChild(attributes, "staves", Num(parts_[p].staffCount()));
        for (std::size_t j = 0; j < staves.size(); ++j) {
            if (!clefs[j] && !state.started) clefs[j] = 1;
            if (clefs[j]) addClef(p, attributes, static_cast<int>(j) + 1, *clefs[j], !state.started);
        }
        state.started = true;
        if (!attributes.children.empty()) m.children.push_back(std::move(attributes));
    }

    static int KeyChangeFifths(const ElementRecord& e) {
        if (e.signWord().flag16()) return 0;
        return KeyFifths(static_cast<KeyKind>(e.signWord().subValue() & 3u), e.signWord().high7());
    }

    void addTime(std::size_t p, XmlElement& attributes, const ElementRecord& meter, bool onlyWhenNew) {
        for (StaffState& s : states_[p].staves) ApplyMeter(meter, false, s.measure);
        const auto numbers = TimeNumbers(meter);
        if (!numbers) return;
        const std::string id = numbers->beats + "/" + numbers->beatType + " " + numbers->symbol;
        if (onlyWhenNew && id == states_[p].time) return;
        states_[p].time = id;
        XmlElement& t = AddChild(attributes, "time");
        if (!numbers->symbol.empty()) SetAttribute(t, "symbol", numbers->symbol);
        if (meter.w0().hidden()) SetAttribute(t, "print-object", "no");
        AddChild(t, "beats", numbers->beats);
        AddChild(t, "beat-type", numbers->beatType);
    }

    struct TimeText {
        std::string beats, beatType, symbol;
    };

    // Numeric meters as written; the symbols C and cut C as 4/4 and 2/2, a meter
    // of three halves as 3/2.
    static std::optional<TimeText> TimeNumbers(const ElementRecord& meter) {
        BarMeasure m;
        m.barLength = -1;
        ApplyMeter(meter, false, m);
        if (m.barLength < 0) return std::nullopt;
        constexpr unsigned numericBit = 17, symbolicBit = 23;
        const bool numeric = ((meter.typeWord >> numericBit) & 1u) != 0;
        const bool symbolic = ((meter.typeWord >> symbolicBit) & 1u) != 0;
        if (numeric && !symbolic) {
            return TimeText{Num(std::max(meter.w1().numerator(), 1u)), Num(std::max(meter.w1().denominator(), 1u)), ""};
        }
        if (m.p != m.q) return TimeText{"3", "2", ""};
        if (meter.signWord().subValue() == 1) return TimeText{"2", "2", "cut"};
        return TimeText{"4", "4", meter.signWord().subValue() == 0 ? "common" : ""};
    }

    // The clef of a voice's staff, written by the staff's first voice only.
    void addClef(std::size_t p, XmlElement& attributes, int lane, int clef, bool always) {
        StaffState& s = states_[p].staves[static_cast<std::size_t>(lane - 1)];
        const auto c = MusicXmlClefOf(clef);
        if (!c || (!always && s.clef == clef)) return;
        s.clef = clef;
        const PartPlan& part = parts_[p];
        const int staff = part.staves[static_cast<std::size_t>(lane - 1)];
        if (std::find(part.staves.begin(), part.staves.end(), staff) - part.staves.begin() != lane - 1) return;
        XmlElement& e = AddChild(attributes, "clef");
        if (part.staffCount() > 1) SetAttribute(e, "number", Num(staff));
        AddChild(e, "sign", std::string(c->sign));
        if (c->line > 0) AddChild(e, "line", Num(c->line));
        if (c->octaveChange != 0) AddChild(e, "clef-octave-change", Num(c->octaveChange));
    }

    // The staff a voice (its lane in the part, from 1) is written on; 0 in a part of one staff, which names none.
    int staffTag(std::size_t p, int lane) const {
        return parts_[p].staffCount() > 1 ? parts_[p].staves[static_cast<std::size_t>(lane - 1)] : 0;
    }

    static void addStaff(XmlElement& e, int staff) {
        if (staff > 0) AddChild(e, "staff", Num(staff));
    }

    // The elements of one voice of a measure; returns the time they take, in
    // divisions.
    long long writeStaff(std::size_t p, XmlElement& m, const Segment& segment, int lane,
                         std::optional<long long> length) {
        StaffState& staffState = states_[p].staves[static_cast<std::size_t>(lane - 1)];
        const int staffNumber = staffTag(p, lane);
        long long elapsed = 0;
        bool opening = true;  // the signs before the first note went into the
                              // opening attributes
        const auto& items = segment.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ElementRecord& e = *items[i];
            if (e.isSign()) {
                if (!opening || !(e.isSignOfType(SignType::Clef) || e.isSignOfType(SignType::KeyChange) ||
                                  e.isSignOfType(SignType::TimeSignature)))
                    writeSign(p, m, e, lane);
                else if (e.isSignOfType(SignType::TimeSignature) && lane > 1)
                    ApplyMeter(e, false, staffState.measure);
                continue;
            }
            opening = false;
            if (!HasPlainValue(e)) {
                if (e.isRest()) elapsed += writeMeasureRest(m, staffState, lane, staffNumber, e);
                continue;
            }
            // A chord: the members that share this x, the shortest first since the
            // chord moves on when it ends.
            std::vector<const ElementRecord*> chord{&e};
            while (e.isNote() && i + 1 < items.size() && items[i + 1]->isNote() && items[i + 1]->x == e.x &&
                   HasPlainValue(*items[i + 1]))
                chord.push_back(items[++i]);
            std::stable_sort(chord.begin(), chord.end(), [this](auto* a, auto* b) {
                return divisionsOf(WrittenValue(*a)) < divisionsOf(WrittenValue(*b));
            });
            const long long wholeBar = IsWholeBarRest(items) ? length.value_or(barDivisions(staffState.measure)) : 0;
            elapsed += writeChord(p, m, chord, lane, wholeBar);
        }
        return elapsed;
    }

    long long writeMeasureRest(XmlElement& m, const StaffState& s, int lane, int staffNumber, const ElementRecord& e) {
        XmlElement& n = AddChild(m, "note");
        if (e.w0().hidden()) SetAttribute(n, "print-object", "no");
        SetAttribute(AddChild(n, "rest"), "measure", "yes");
        const long long d = barDivisions(s.measure);
        AddChild(n, "duration", Num(d));
        AddChild(n, "voice", Num(lane));
        addStaff(n, staffNumber);
        return d;
    }

    long long writeChord(std::size_t p, XmlElement& m, const std::vector<const ElementRecord*>& chord, int lane,
                         long long wholeBar) {
        StaffState& s = states_[p].staves[static_cast<std::size_t>(lane - 1)];
        const int staffNumber = staffTag(p, lane);
        const ElementRecord& first = *chord.front();
        if (first.isNote()) shiftOctaves(m, s, first.w1().octaveShift(), staffNumber);
        const bool grace = IsGrace(first, appoggiaturas_);
        // A rest for the whole bar (wholeBar, its length) takes the bar's time.
        const long long advance = wholeBar > 0 ? wholeBar : divisionsOf(WrittenValue(first));
        unsigned tupletMark = 0;
        for (const ElementRecord* c : chord)
            if (c->w0().groupMark() == openingMark || c->w0().groupMark() == closingMark)
                tupletMark = c->w0().groupMark();
        for (std::size_t i = 0; i < chord.size(); ++i) {
            const ElementRecord& e = *chord[i];
            XmlElement& n = AddChild(m, "note");
            if (e.w0().hidden()) SetAttribute(n, "print-object", "no");
            if (IsGrace(e, appoggiaturas_)) AddChild(n, "grace");
            if (i > 0) AddChild(n, "chord");
            if (e.isRest()) {
                XmlElement& r = AddChild(n, "rest");
                if (wholeBar > 0) SetAttribute(r, "measure", "yes");
            } else {
                addPitch(n, e);
            }
            if (!IsGrace(e, appoggiaturas_))
                AddChild(n, "duration", Num(wholeBar > 0 ? advance : divisionsOf(WrittenValue(e))));
            const NoteMarks* marks = marksOf(e);
            if (marks && marks->tieStop) SetAttribute(AddChild(n, "tie"), "type", "stop");
            if (marks && marks->tieStart) SetAttribute(AddChild(n, "tie"), "type", "start");
            AddChild(n, "voice", Num(lane));
            if (wholeBar == 0) addType(n, e);
            addAccidental(n, e);
            addTimeModification(n, e);
            addStem(n, e);
            if (const auto head = NoteheadName(e.noteWord().headShape()); e.isNote() && !head.empty()) {
                XmlElement& h = AddChild(n, "notehead", std::string(head));
                if (e.noteWord().headShape() == 2) SetAttribute(h, "filled", "yes");
            }
            addStaff(n, staffNumber);
            if (marks)
                for (std::size_t level = 0; level < marks->beams.size(); ++level)
                    SetAttribute(AddChild(n, "beam", marks->beams[level]), "number",
                                 Num(static_cast<long long>(level + 1)));
            addNotations(n, e, marks, i == 0 ? tupletMark : 0);
            if (marks)
                for (const NoteMarks::Lyric& l : marks->lyrics) {
                    XmlElement& lyric = AddChild(n, "lyric");
                    SetAttribute(lyric, "number", Num(l.verse));
                    if (!l.syllabic.empty()) AddChild(lyric, "syllabic", l.syllabic);
                    AddChild(lyric, "text", l.text);
                }
        }
        return grace ? 0 : advance;
    }

    const NoteMarks* marksOf(const ElementRecord& e) const {
        const auto it = marks_.find(&e);
        return it == marks_.end() ? nullptr : &it->second;
    }

    // An octave line starts where a note's shift first differs from the one
    // before it, and stops before it.
    void shiftOctaves(XmlElement& m, StaffState& s, unsigned shift, int staffNumber) {
        if (shift == s.octaveShift) return;
        if (const auto open = MusicXmlOctaveShiftOf(s.octaveShift))
            writeOctaveShift(m, "stop", open->size, staffNumber);
        if (const auto line = MusicXmlOctaveShiftOf(shift))
            writeOctaveShift(m, line->type, line->size, staffNumber);
        s.octaveShift = MusicXmlOctaveShiftOf(shift) ? shift : 0;
    }

    static void writeOctaveShift(XmlElement& m, std::string_view type, int size, int staffNumber) {
        XmlElement& d = AddChild(m, "direction");
        SetAttribute(SetAttribute(AddChild(AddChild(d, "direction-type"), "octave-shift"), "type", std::string(type)),
                     "size", Num(size));
        addStaff(d, staffNumber);
    }

    void closePart(std::size_t p, XmlElement& part) {
        if (part.children.empty()) return;
        for (std::size_t j = 0; j < states_[p].staves.size(); ++j)
            shiftOctaves(part.children.back(), states_[p].staves[j], 0, staffTag(p, static_cast<int>(j) + 1));
    }

    static void addPitch(XmlElement& n, const ElementRecord& e) {
        static constexpr const char* steps = "CDEFGAB";
        const unsigned step = std::clamp(e.noteWord().step(), 1u, 7u);
        XmlElement& pitch = AddChild(n, "pitch");
        AddChild(pitch, "step", std::string(1, steps[step - 1]));
        const double alter = AccidentalAlter(e.noteWord().accidental());
        if (alter != 0) {
            char text[16];
            std::snprintf(text, sizeof text, "%g", alter);
            AddChild(pitch, "alter", text);
        }
        // Under an octave line the pitch is the one heard; the line says where it
        // is shown.
        const auto line = MusicXmlOctaveShiftOf(e.w1().octaveShift());
        const int octaves = line ? line->octaves : 0;
        AddChild(pitch, "octave", Num(std::clamp(static_cast<int>(e.w0().octave()) + octaves, 0, 9)));
    }

    static void addType(XmlElement& n, const ElementRecord& e) {
        const auto nw = e.noteWord();
        XmlElement& t = AddChild(n, "type", std::string(NoteTypeName(nw.durationCode())));
        if (e.w0().cueSize()) SetAttribute(t, "size", "cue");
        // Hidden dots still lengthen the note: the type and its dots must add up to
        // the duration.
        for (unsigned d = 0; d < nw.dots(); ++d) AddChild(n, "dot");
    }

    static void addAccidental(XmlElement& n, const ElementRecord& e) {
        if (!e.isNote() || e.noteWord().hiddenAccidental()) return;
        const auto name = AccidentalName(e.noteWord().accidental());
        if (!name.empty()) AddChild(n, "accidental", std::string(name));
    }

    static void addTimeModification(XmlElement& n, const ElementRecord& e) {
        const unsigned a = e.w1().numerator(), b = e.w1().denominator();
        if (a == b || a == 0 || b == 0) return;
        XmlElement& t = AddChild(n, "time-modification");
        AddChild(t, "actual-notes", Num(a));
        AddChild(t, "normal-notes", Num(b));
    }

    static void addStem(XmlElement& n, const ElementRecord& e) {
        if (!e.isNote()) return;
        const auto nw = e.noteWord();
        if (nw.headShape() == 7 || nw.durationCode() <= wholeCode) {
            if (nw.headShape() == 7) AddChild(n, "stem", "none");
            return;
        }
        if (!nw.stemAutomatic()) AddChild(n, "stem", nw.stemFlag() ? "up" : "down");
    }

    static void addNotations(XmlElement& n, const ElementRecord& e, const NoteMarks* marks, unsigned tupletMark) {
        XmlElement notations;
        notations.name = "notations";
        if (marks && marks->tieStop) SetAttribute(AddChild(notations, "tied"), "type", "stop");
        if (marks && marks->tieStart) SetAttribute(AddChild(notations, "tied"), "type", "start");
        if (marks && marks->slurStop)
            SetAttribute(SetAttribute(AddChild(notations, "slur"), "type", "stop"), "number", "1");
        if (marks && marks->slurStart)
            SetAttribute(SetAttribute(AddChild(notations, "slur"), "type", "start"), "number", "1");
        if (tupletMark == openingMark)
            SetAttribute(SetAttribute(AddChild(notations, "tuplet"), "type", "start"), "number", "1");
        if (tupletMark == closingMark)
            SetAttribute(SetAttribute(AddChild(notations, "tuplet"), "type", "stop"), "number", "1");
        if (e.isNote() && e.noteWord().staccato()) {
            const auto name = ArticulationName(e.noteWord().accentType());
            if (!name.empty()) AddChild(AddChild(notations, "articulations"), std::string(name));
        }
        if (!notations.children.empty()) n.children.push_back(std::move(notations));
    }

    // ---- Signs in the course of a measure.

    void writeSign(std::size_t p, XmlElement& m, const ElementRecord& e, int lane) {
        switch (e.signWord().signType()) {
            case SignType::Clef: {
                XmlElement a;
                a.name = "attributes";
                addClef(p, a, lane, static_cast<int>(e.signWord().code()), false);
                if (!a.children.empty()) m.children.push_back(std::move(a));
                return;
            }
            case SignType::KeyChange: {
                if (lane > 1) return;
                const int fifths = KeyChangeFifths(e);
                if (states_[p].fifths == fifths) return;
                states_[p].fifths = fifths;
                AddChild(AddChild(AddChild(m, "attributes"), "key"), "fifths", Num(fifths));
                return;
            }
            case SignType::TimeSignature: {
                if (lane > 1) {
                    ApplyMeter(e, false, states_[p].staves[static_cast<std::size_t>(lane - 1)].measure);
                    return;
                }
                XmlElement a;
                a.name = "attributes";
                addTime(p, a, e, true);
                if (!a.children.empty()) m.children.push_back(std::move(a));
                return;
            }
            case SignType::Text:
                writeText(p, m, e, staffTag(p, lane));
                return;
            default:
                return;  // drawings, free curves and signs placed by hand have no MusicXML
                         // counterpart here
        }
    }

    void writeText(std::size_t p, XmlElement& m, const ElementRecord& e, int staffNumber) {
        const TextAttributes a = TextAttributesOf(e);
        const std::string text = Trimmed(TextOf(e));
        if (text.empty()) return;
        switch (MusicXmlTextPlaceOf(a.category, a.type)) {
            case MusicXmlTextPlace::Lyric:
                return;  // read with the voice
            case MusicXmlTextPlace::PartName:
                if (parts_[p].name.empty()) parts_[p].name = text;
                return;
            case MusicXmlTextPlace::Credit:
                credits_.push_back({currentPage_, std::string(CreditTypeOf(a.type)), text, a.size, e.x});
                return;
            case MusicXmlTextPlace::Dynamics: {
                XmlElement& d = direction(m, e);
                XmlElement& dyn = AddChild(d.children.front(), "dynamics");
                if (IsMusicXmlDynamic(text))
                    AddChild(dyn, text);
                else
                    AddChild(dyn, "other-dynamics", text);
                addStaff(d, staffNumber);
                return;
            }
            case MusicXmlTextPlace::Words:
            case MusicXmlTextPlace::Tempo:
                break;
        }
        // Marks the export writes itself (measure numbers) and symbols in the music
        // font, whose characters are no words, are left out.
        if (a.category == TextCategory::Marks && a.type == MeasureNumberMark) return;
        if (a.fontIndex == MusicFontIndex) return;
        XmlElement& d = direction(m, e);
        XmlElement& words = AddChild(d.children.front(),
                                     a.category == TextCategory::Marks && a.type == 3 ? "rehearsal" : "words", text);
        if (a.style == TextStyle::Italic || a.style == TextStyle::BoldItalic)
            SetAttribute(words, "font-style", "italic");
        if (a.style == TextStyle::Bold || a.style == TextStyle::BoldItalic) SetAttribute(words, "font-weight", "bold");
        addStaff(d, staffNumber);
    }

    static XmlElement& direction(XmlElement& m, const ElementRecord& e) {
        XmlElement& d = AddChild(m, "direction");
        // The stored parameter counts tenths of a space up from the top line: below
        // the middle line is below.
        SetAttribute(d, "placement", e.param >= -20 ? "above" : "below");
        AddChild(d, "direction-type");
        return d;
    }

    // ---- The document around the parts.

    XmlElement assemble(std::vector<XmlElement> parts) {
        XmlElement root;
        root.name = "score-partwise";
        SetAttribute(root, "version", "4.0");
        const auto title =
            std::find_if(credits_.begin(), credits_.end(), [](const Credit& c) { return c.type == "title"; });
        if (title != credits_.end()) AddChild(AddChild(root, "work"), "work-title", title->text);
        XmlElement& id = AddChild(root, "identification");
        for (const Credit& c : credits_)
            if (c.type == "composer") SetAttribute(AddChild(id, "creator", c.text), "type", "composer");
        AddChild(AddChild(id, "encoding"), "software", std::string(productName));
        addDefaults(root);
        for (const Credit& c : credits_) {
            XmlElement& credit = AddChild(root, "credit");
            SetAttribute(credit, "page", Num(c.page));
            AddChild(credit, "credit-type", c.type);
            XmlElement& words = AddChild(credit, "credit-words", c.text);
            SetAttribute(words, "default-x", Num(tenths(c.x)));
            SetAttribute(words, "justify", c.type == "composer" ? "right" : "center");
            if (c.size > 0)
                SetAttribute(words, "font-size", Num(std::max(1LL, std::llround(c.size * pointsPerPageUnit))));
        }
        XmlElement& list = AddChild(root, "part-list");
        for (std::size_t p = 0; p < parts_.size(); ++p) {
            XmlElement& sp = AddChild(list, "score-part");
            SetAttribute(sp, "id", "P" + Num(static_cast<long long>(p + 1)));
            AddChild(sp, "part-name",
                     parts_[p].name.empty() ? "Voix " + Num(parts_[p].voices.front()) : parts_[p].name);
        }
        for (XmlElement& part : parts) root.children.push_back(std::move(part));
        return root;
    }

    // Tenths of a staff space of the first page, from page units.
    long long tenths(int pageUnits) const {
        return std::llround(static_cast<double>(pageUnits) * tenthsPerStaffHeight / (4.0 * staffSpace()));
    }

    int staffSpace() const {
        const int space = pages_.empty() ? 0 : static_cast<int>(pages_.front().layoutWord().staffSize());
        return space > 0 ? space : 2 * std::max(doc_.stepUnit, 1);
    }

    void addDefaults(XmlElement& root) {
        XmlElement& defaults = AddChild(root, "defaults");
        XmlElement& scaling = AddChild(defaults, "scaling");
        char mm[32];
        std::snprintf(mm, sizeof mm, "%.2f", 4.0 * staffSpace() / 10.0);
        AddChild(scaling, "millimeters", mm);
        AddChild(scaling, "tenths", Num(tenthsPerStaffHeight));
        XmlElement& layout = AddChild(defaults, "page-layout");
        AddChild(layout, "page-height", Num(tenths(doc_.pageHeight)));
        AddChild(layout, "page-width", Num(tenths(doc_.pageWidth)));
        const auto format = doc_.header.pageFormat();
        const int lineLength = pages_.empty() ? 0 : static_cast<int>(pages_.front().lineLength & 0xFFFFFF);
        const int left = std::max(0, static_cast<int>(format.leftMarginOdd()) + doc_.defaultFirstX / 2);
        const int right = std::max(0, doc_.pageWidth - left - lineLength);
        const int top = std::max(0, static_cast<int>(format.topMargin()));
        const int bottom = printerStrip;
        XmlElement& margins = AddChild(layout, "page-margins");
        SetAttribute(margins, "type", "both");
        AddChild(margins, "left-margin", Num(tenths(left)));
        AddChild(margins, "right-margin", Num(tenths(lineLength > 0 ? right : left)));
        AddChild(margins, "top-margin", Num(tenths(top)));
        AddChild(margins, "bottom-margin", Num(tenths(bottom)));
    }

    int currentPage_ = 0;
    ScoreDocument& doc_;
    const std::vector<PageRecord>& pages_;
    bool appoggiaturas_ = false;
    long factor_ = 1;
    std::vector<PartPlan> parts_;
    std::vector<SystemPlan> systems_;
    std::map<const ElementRecord*, NoteMarks> marks_;
    std::deque<ElementRecord> pieces_;  // the parts of elements a bar of another voice cuts (cutAtBars)
    std::vector<PartState> states_;
    std::vector<Credit> credits_;
};

}  // namespace

XmlDocumentType MusicXmlPartwiseType() {
    return {"score-partwise", "-//Recordare//DTD MusicXML 4.0 Partwise//EN",
            "http://www.musicxml.org/dtds/partwise.dtd"};
}

std::optional<XmlElement> MusicXmlOfScore(ScoreDocument& doc, UiServices& ui) {
    std::vector<PageRecord> pages;
    const int current = doc.currentPage;
    for (int n = 1; n <= doc.pageCount; ++n) {
        if (!doc.findPage(n) && (MoveWindowTo(doc, ui, n) != FileOk || !doc.findPage(n))) return std::nullopt;
        pages.push_back(*doc.findPage(n));
    }
    if (current >= 1 && !doc.findPage(current)) MoveWindowTo(doc, ui, current);
    return MusicXmlWriter(doc, pages).build();
}

bool ExportMusicXml(ScoreDocument& doc, UiServices& ui, const std::string& path) {
    const auto tree = MusicXmlOfScore(doc, ui);
    return tree && ui.writeXmlFile(path, MusicXmlPartwiseType(), *tree);
}

}  // namespace notavera
