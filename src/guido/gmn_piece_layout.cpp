// The systems of an imported piece, its default clefs and its layout over pages.
#include "guido/gmn_piece_layout.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>

#include "edit/accidental_normalising.h"
#include "edit/rest_centring.h"
#include "edit/syllable_spacing.h"
#include "edit/text_elements.h"
#include "guido/gmn_note_values.h"
#include "guido/gmn_texts.h"
#include "render/arrange_notes.h"
#include "render/line_respacing.h"
#include "render/line_start_signs.h"
#include "render/recalculate_distances.h"
#include "render/shared_staff_voices.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"
#include "score/page_append.h"
#include "score/score_document.h"
#include "score/staff_layout_model.h"
#include "score/staff_size_fit.h"
#include "score/text_records.h"

namespace notavera {

using namespace system_spacing;

namespace {

constexpr unsigned closestStaves = lineCount + 1;  // four spaces of staff and two between

constexpr unsigned trebleClef = 1;
constexpr unsigned bassClef = 3;
constexpr int clefRoom = 60;
// Aligned staves keep music of different times this many step units apart at least.
constexpr int minimumStep = 3;

// The clef a staff begins with, none when a note or rest comes first (or nothing at all).
const ElementRecord* LeadingClef(const StaffRecord& staff) {
    for (const ElementRecord& e : staff.elements) {
        if (e.isSignOfType(SignType::Clef)) return &e;
        if (!e.isSign()) return nullptr;
    }
    return nullptr;
}

unsigned FirstClef(const StaffRecord& staff) {
    const ElementRecord* clef = LeadingClef(staff);
    return clef ? clef->signWord().code() : 0;
}

// A change of clef within the music is set as engravers set it: smaller than the clef that begins a line, and, when it
// is written right after a bar line, before that bar line. The bar's music is read in it all the same, and the other
// staves' first notes of the bar are not pushed right. At a line's end it stands as the warning of the next line's
// clef.
void SetClefChanges(PageRecord& page) {
    for (StaffRecord& staff : page.staves) {
        auto& els = staff.elements;
        bool musicBegun = false;
        for (std::size_t i = 1; i < els.size(); ++i) {
            musicBegun = musicBegun || !els[i - 1].isSign();
            if (!musicBegun || !els[i].isSignOfType(SignType::Clef)) continue;
            els[i].w0().setCueSize(true);
            if (els[i - 1].isSignOfType(SignType::Bar)) {
                std::swap(els[i].x, els[i - 1].x);
                std::swap(els[i], els[i - 1]);
            }
        }
    }
}

// A piece ends on a final bar, which closes its last line there: a staff whose music the file leaves open gets one
// after its last element; a plain bar line the file ends with (the texts after it aside) becomes one.
void EndWithFinalBar(ScoreDocument& doc, int staffCount) {
    constexpr unsigned single = '|', closing = 'E';
    PageRecord* page = doc.findPage(1);
    for (int s = 0; s < staffCount; ++s) {
        StaffRecord& staff = page->staves[static_cast<std::size_t>(s)];
        const bool music = std::any_of(staff.elements.begin(), staff.elements.end(),
                                       [](const ElementRecord& e) { return !e.isSign(); });
        if (!music) continue;
        const auto last = std::find_if(staff.elements.rbegin(), staff.elements.rend(),
                                       [](const ElementRecord& e) { return !IsText(e); });
        if (last != staff.elements.rend() && last->isSignOfType(SignType::Bar)) {
            if (last->signWord().code() == single) last->signWord().setCode(closing);
            // The bar closes the staff: the texts written after it go in front of it.
            std::rotate(last.base() - 1, last.base(), staff.elements.end());
            continue;
        }
        doc.currentStaff = s;
        doc.currentElement = static_cast<int>(staff.elements.size()) - 1;
        CreateSign(doc, staff.elements.back().x + 4 * std::max(doc.stepUnit, 1), 0, closing, SignType::Bar, 0);
    }
}

// A voice that names no key takes the key of a voice it shares its staff with: in GUIDO the key belongs to the staff.
void ShareKeysOfStaves(PageRecord& page, const std::vector<GmnSequenceTimes>& sequences) {
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        StaffRecord& staff = page.staves[s];
        if (staff.key().keyKind() != KeyKind::None) continue;
        for (std::size_t t = 0; t < sequences.size(); ++t) {
            const StaffRecord& other = page.staves[t];
            if (t == s || sequences[t].staff != sequences[s].staff || other.key().keyKind() == KeyKind::None) continue;
            staff.key().setKeyKind(other.key().keyKind());
            staff.key().setKeyCount(other.key().keyCount());
            break;
        }
    }
}

// A staff that holds music but names no clef before it reads in the clef of a staff it stands superposed on, or else
// in the treble clef, as GUIDO readers show it.
void AddClefWhereNone(ScoreDocument& doc, std::vector<GmnSequenceTimes>& sequences) {
    PageRecord* page = doc.findPage(1);
    for (std::size_t s = 0; s < sequences.size(); ++s) {
        StaffRecord& staff = page->staves[s];
        if (staff.elements.empty() || LeadingClef(staff)) continue;
        const ElementRecord* shared = nullptr;
        for (std::size_t t = 0; t < sequences.size() && !shared; ++t)
            if (t != s && sequences[t].staff == sequences[s].staff) shared = LeadingClef(page->staves[t]);
        const int param = shared ? shared->param : 0;
        const int code = shared ? static_cast<int>(shared->signWord().code()) : static_cast<int>(trebleClef);
        const unsigned sub = shared ? shared->signWord().subValue() : 0;
        // The clef goes in front of everything; the layout respaces the line after it.
        const int x = std::max(0, staff.elements.front().x);
        for (ElementRecord& e : staff.elements) e.x += clefRoom;
        for (GmnPieceSpan& piece : sequences[s].pieces) piece.x += clefRoom;
        doc.currentStaff = static_cast<int>(s);
        doc.currentElement = -1;
        CreateSign(doc, x, param, code, SignType::Clef, sub);
    }
}

// The staff spaces each verse takes under its staff, and the room left between the last verse and what follows.
constexpr unsigned spacesPerVerse = 3;
constexpr unsigned roomAfterVerses = 1;

// What each staff of a system needs under it for lyrics: under the last of the staves superposed at one height, a line
// for each of them that carries lyrics.
std::vector<unsigned> LyricRoom(const PageRecord& page, const std::vector<int>& staffOf) {
    const std::size_t n = staffOf.size();
    std::vector<unsigned> room(n, 0);
    unsigned verses = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const auto& els = page.staves[i].elements;
        if (std::any_of(els.begin(), els.end(), [](const ElementRecord& e) {
                return IsText(e) && TextAttributesOf(e).category == TextCategory::Lyrics;
            }))
            ++verses;
        const bool lastAtHeight = i + 1 == n || staffOf[i + 1] != staffOf[i];
        if (!lastAtHeight) continue;
        if (verses > 0) room[i] = verses * spacesPerVerse + roomAfterVerses;
        verses = 0;
    }
    return room;
}

// The staves a system of the piece shows: superposed voices, neighbours in `staffOf`, count once.
std::size_t PieceStaffCount(const std::vector<int>& staffOf) {
    std::vector<int> distinct = staffOf;
    return static_cast<std::size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
}

// The texts written on the staves (dynamics, lyrics, words) keep their size to the staves when these are drawn at
// another staff size.
void ScaleStaffTexts(PageRecord& page, unsigned from, unsigned to) {
    if (from == to || from == 0) return;
    for (StaffRecord& staff : page.staves)
        for (ElementRecord& e : staff.elements) {
            if (!IsText(e)) continue;
            TextAttributes a = TextAttributesOf(e);
            a.size = a.size * static_cast<int>(to) / static_cast<int>(from);
            SetTextAttributes(e, a);
        }
}

// The instruments are named at the left of the first system, one name for the staves superposed at one height; the
// systems after it go unnamed, as engravers leave them once the parts are known. None when no sequence names one.
std::vector<GmnText> InstrumentNames(const std::vector<GmnSequenceTimes>& sequences, const std::vector<int>& staffOf,
                                     int space) {
    std::vector<GmnText> names(sequences.size());
    for (std::size_t i = 0; i < sequences.size(); ++i) {
        const auto named = [&](std::size_t k) { return staffOf[k] == staffOf[i] && !names[k].chars.empty(); };
        bool taken = false;
        for (std::size_t k = 0; k < i; ++k) taken = taken || named(k);
        if (!taken && !sequences[i].instrument.empty()) names[i] = GmnInstrumentText(sequences[i].instrument, space);
    }
    return names;
}

// The first system stands indented by the widest name, the room of a system's bracket and a space around it.
void IndentForNames(ScoreDocument& doc, const std::vector<GmnText>& names, int space) {
    int widest = 0;
    for (const GmnText& name : names)
        if (!name.chars.empty()) widest = std::max(widest, MeasureTextWidth(doc.fonts, name.attributes, name.chars));
    if (widest == 0) return;
    constexpr int millimetre = 10;
    doc.layoutModel.setIndentMm(static_cast<unsigned>((widest + 4 * space + millimetre - 1) / millimetre));
    for (std::size_t i = 0; i < names.size(); ++i) staff_model::Indented::set(doc.layoutModel.staffWord(static_cast<int>(i)), 1);
}

// The names go in front of the first system's staves: the placing of the texts sets them beside their staves.
void NameInstruments(PageRecord& page, const std::vector<GmnText>& names) {
    for (std::size_t i = 0; i < names.size() && i < page.staves.size(); ++i) {
        if (names[i].chars.empty()) continue;
        auto& els = page.staves[i].elements;
        els.insert(els.begin(), MakeTextElement(0, 0, names[i].attributes, names[i].chars));
    }
}

// The page's height in staff spaces as the document's model fills it: the systems of the piece take as much.
unsigned HeightOfModel(const StaffLayoutModel& model) {
    unsigned height = 0;
    const int count = static_cast<int>(model.staffCount());
    for (int i = 0; i < count; ++i) height += staff_model::Distance::get(model.staffWord(i));
    return height + (count > 0 ? staff_model::LineCount::get(model.staffWord(count - 1)) - 1 : 0);
}

// Where staff i of a system stands in the brace that joins it to its neighbours: 1 its first staff, 2 its last (the
// last voice of it), 0 inside one or in none.
unsigned PlaceInBrace(const std::vector<int>& staffOf, const std::vector<std::pair<int, int>>& braces, int i) {
    const int staff = staffOf[static_cast<std::size_t>(i)];
    const bool firstVoice = i == 0 || staffOf[static_cast<std::size_t>(i - 1)] != staff;
    const bool lastVoice = i + 1 == static_cast<int>(staffOf.size()) || staffOf[static_cast<std::size_t>(i + 1)] != staff;
    for (const auto& [first, last] : braces) {
        if (staff == first && firstVoice) return 1;
        if (staff == last && lastVoice) return 2;
    }
    return 0;
}

// The braces of the piece's sequences, each once, that join staves the piece has.
std::vector<std::pair<int, int>> BracesOf(const std::vector<GmnSequenceTimes>& sequences, const std::vector<int>& staffOf) {
    std::vector<std::pair<int, int>> braces;
    const auto has = [&staffOf](int staff) { return std::find(staffOf.begin(), staffOf.end(), staff) != staffOf.end(); };
    for (const GmnSequenceTimes& s : sequences)
        if (s.brace && has(s.brace->first) && has(s.brace->second) &&
            std::find(braces.begin(), braces.end(), *s.brace) == braces.end())
            braces.push_back(*s.brace);
    return braces;
}

// Systems of the staves of one piece, as many as the page holds. `staffOf` gives the piece staff of each staff of a
// system: equal neighbours stand superposed. The piece's braces (first and last piece staff) join their staves, and
// nothing else; without any, two piece staves, treble over bass, are braced and other systems of several staves are
// bracketed. `roomBelow` gives, in staff spaces, what a staff needs under it beyond the usual distance
// (its lyric lines), added to the distance of the staff that follows it.
StaffLayoutModel SystemsModel(const StaffLayoutModel& base, const std::vector<int>& staffOf, bool trebleOverBass,
                              const std::vector<std::pair<int, int>>& braces, const std::vector<unsigned>& roomBelow) {
    const int n = static_cast<int>(staffOf.size());
    const auto superposed = [&staffOf](int i) {
        return i > 0 && staffOf[static_cast<std::size_t>(i)] == staffOf[static_cast<std::size_t>(i - 1)];
    };
    const auto below = [&roomBelow](int i) { return roomBelow[static_cast<std::size_t>(i)]; };
    int pieceStaves = 0;
    unsigned systemHeight = 0, roomInside = 0;
    for (int i = 0; i < n; ++i) {
        if (superposed(i)) continue;
        ++pieceStaves;
        if (i > 0) {
            systemHeight += withinSystem + below(i - 1);
            roomInside += below(i - 1);
        }
    }
    const unsigned step = (pieceStaves == 1 ? betweenSingleStaves : betweenSystems) + below(n - 1);
    const unsigned room = HeightOfModel(base);
    // A system taller than the page brings its staves closer, down to a space and a half between them.
    unsigned within = withinSystem;
    if (pieceStaves > 1 && topDistance + systemHeight + lineCount - 1 > room) {
        const unsigned fit = room > topDistance + lineCount + roomInside
                                 ? (room - topDistance - lineCount - roomInside + 1) / (pieceStaves - 1)
                                 : 0;
        within = std::max(fit, closestStaves);
        systemHeight = within * static_cast<unsigned>(pieceStaves - 1) + roomInside;
    }
    int systems = 1;
    while ((systems + 1) * n <= StaffLayoutModel::maxStaves &&
           topDistance + systems * (systemHeight + step) + systemHeight + lineCount - 1 <= room)
        ++systems;

    StaffLayoutModel m = base;
    for (int i = 0; i < StaffLayoutModel::maxStaves; ++i) m.staffWord(i) = 0;
    m.setStaffCount(static_cast<unsigned>(systems * n));
    const bool grouped = pieceStaves > 1;
    for (int s = 0; s < systems; ++s) {
        for (int i = 0; i < n; ++i) {
            std::uint32_t& w = m.staffWord(s * n + i);
            staff_model::Distance::set(
                w, i > 0 ? (superposed(i) ? 0 : within + below(i - 1)) : s == 0 ? topDistance : step);
            staff_model::LineCount::set(w, lineCount);
            const unsigned position = n == 1 ? 3 : i == 0 ? 1 : i == n - 1 ? 2 : 0;
            staff_model::SystemGrouping::set(w, position);
            if (!braces.empty()) {
                const unsigned inBrace = PlaceInBrace(staffOf, braces, i);
                staff_model::BlockGrouping::set(w, inBrace);
                staff_model::Brace::set(w, inBrace == 1);
            } else if (grouped) {
                staff_model::BlockGrouping::set(w, position);
                staff_model::Brace::set(w, pieceStaves == 2 && trebleOverBass);
            }
        }
    }
    return m;
}

// The staves of the first system spaced each on its own, then their notes moved apart where syllables need it, so
// that the lines are measured with the room their lyrics take.
void SpaceEachStaff(ScoreDocument& doc, const SignDistances& distances, int n) {
    DocumentSpacing source(doc, distances);
    for (int i = 0; i < n; ++i) SpaceLineOfPage(doc, *doc.findPage(1), LineRange{i, i}, SpacingMode::Raw, source);
    doc.currentPage = 1;
    doc.currentStaff = 0;
    SpaceSyllablesOfLine(doc);
}

// The width of the music between consecutive cuts, on staves spaced each on its own, and the room a line has for it.
// A stretch is as wide as its widest staff, and aligning the staves needs some room more; staves that move at
// different times need room for each time at which one of them moves.
struct LineMeasure {
    std::vector<int> widths;
    int room = 0;
    int firstRoom = 0;  // the first line's, short of the indentation that names the instruments
};

// The distinct times at which some staff moves, in order.
std::vector<GmnRational> MoveTimes(const std::vector<GmnSequenceTimes>& sequences) {
    std::vector<GmnRational> starts;
    for (const GmnSequenceTimes& s : sequences)
        for (const GmnPieceSpan& p : s.pieces) starts.push_back(p.start);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    return starts;
}

LineMeasure MeasureStretches(const PageRecord& page, int n, int stepUnit,
                             const std::vector<std::vector<std::size_t>>& cuts, const std::vector<GmnRational>& starts,
                             const std::vector<GmnRational>& cutTimes) {
    const auto xAt = [&](int staff, std::size_t index) {
        const auto& els = page.staves[static_cast<std::size_t>(staff)].elements;
        return index < els.size() ? els[index].x : (els.empty() ? 0 : els.back().x + 4 * stepUnit);
    };
    int music = 0;
    for (int i = 0; i < n; ++i)
        music = std::max(music, xAt(i, AfterLineStartSigns(page.staves[static_cast<std::size_t>(i)])));
    LineMeasure m;
    m.firstRoom = LineLengthOf(page) - music;
    m.room = m.firstRoom + LeftEdgeOf(page, page.staves.front());
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        int width = 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t from = k == 0 ? AfterLineStartSigns(page.staves[static_cast<std::size_t>(i)])
                                            : cuts[k][static_cast<std::size_t>(i)];
            width = std::max(width, xAt(i, cuts[k + 1][static_cast<std::size_t>(i)]) - xAt(i, from));
        }
        const GmnRational from = k == 0 ? GmnRational() : cutTimes[k - 1];
        const auto begin = std::lower_bound(starts.begin(), starts.end(), from);
        const auto end = k < cutTimes.size() ? std::lower_bound(begin, starts.end(), cutTimes[k]) : starts.end();
        const auto distinct = end - begin;
        m.widths.push_back(std::max(width + width / 5, static_cast<int>(distinct) * minimumStep * stepUnit));
    }
    return m;
}

// Which stretches (cut indices, from 0 for the start) begin each line: as many as the line holds, one at least; a
// stretch the piece starts a system with begins a line.
std::vector<std::size_t> LineStarts(const LineMeasure& m, const std::vector<bool>& forced) {
    std::vector<std::size_t> starts{0};
    int used = 0;
    for (std::size_t k = 0; k < m.widths.size(); ++k) {
        if (used > 0 && (used + m.widths[k] > (starts.size() == 1 ? m.firstRoom : m.room) || forced[k])) {
            starts.push_back(k);
            used = 0;
        }
        used += m.widths[k];
    }
    return starts;
}

// Deals the music of the first system out to the systems that follow, line by line, appending pages as needed. Each
// staff that receives music starts in the key in force where its music begins.
// Lines in `pageStarts` begin a new page, whatever room the page before has left.
void DealOutLines(ScoreDocument& doc, UiServices& ui, int n, const std::vector<std::vector<std::size_t>>& cuts,
                  const std::vector<std::size_t>& starts, const std::vector<std::size_t>& pageStarts) {
    const int systemsPerPage = static_cast<int>(doc.findPage(1)->staves.size()) / n;
    std::vector<StaffRecord> originals;
    for (int i = 0; i < n; ++i) originals.push_back(doc.findPage(1)->staves[static_cast<std::size_t>(i)]);
    int page = 1;
    int system = 0;
    for (std::size_t line = 1; line < starts.size(); ++line) {
        const bool newPage = std::find(pageStarts.begin(), pageStarts.end(), line) != pageStarts.end();
        if (++system == systemsPerPage || newPage) {
            ++page;
            system = 0;
        }
        if (doc.findPage(page) == nullptr && PageAfter(doc, ui, page - 1) == nullptr) break;
        const std::size_t endCut = line + 1 < starts.size() ? starts[line + 1] : cuts.size() - 1;
        for (int i = 0; i < n; ++i) {
            const StaffRecord& from = originals[static_cast<std::size_t>(i)];
            const std::size_t a = cuts[starts[line]][static_cast<std::size_t>(i)];
            const std::size_t b = cuts[endCut][static_cast<std::size_t>(i)];
            StaffRecord& to = doc.findPage(page)->staves[static_cast<std::size_t>(system * n + i)];
            to.elements.assign(from.elements.begin() + static_cast<std::ptrdiff_t>(a),
                               from.elements.begin() + static_cast<std::ptrdiff_t>(b));
            StartStaffInKey(to, KeyInEffectAt(from, static_cast<int>(a) - 1,
                                              a < from.elements.size() ? from.elements[a].x : INT_MAX));
        }
    }
    if (starts.size() < 2) return;
    for (int i = 0; i < n; ++i) {
        auto& els = doc.findPage(1)->staves[static_cast<std::size_t>(i)].elements;
        els.resize(cuts[starts[1]][static_cast<std::size_t>(i)]);
    }
}

// A page prints no empty systems after its music: the piece's last page, or a page the piece ends early with a new
// page.
void DropSystemsAfterTheMusic(PageRecord& page) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < page.staves.size(); ++i) {
        if (page.staves[i].elements.empty()) continue;
        const auto voice = page.staves[i].voice();
        end = std::max(end, i + 1 + (voice.groupSize() > voice.positionInGroup()
                                         ? voice.groupSize() - voice.positionInGroup()
                                         : 0));
    }
    if (end > 0 && end < page.staves.size()) page.staves.resize(end);
}

// What a staff of a line plays, in whole notes: its notes and rests one after the other, the notes of a chord at once
// (the import writes a chord's longer notes on through a hidden rest after its shortest one). Grace notes take no
// time.
GmnRational LengthOfStaff(const StaffRecord& staff) {
    GmnRational total;
    std::optional<int> x;
    GmnRational shortest;
    for (const ElementRecord& e : staff.elements) {
        const auto nw = e.noteWord();
        if (e.isSign() || nw.durationCode() > 10 || e.w0().cueSize()) continue;
        GmnRational length(4, std::int64_t{1} << nw.durationCode());
        if (nw.dots() == 1) length = length.scaled(3, 2);
        if (nw.dots() >= 2) length = length.scaled(7, 4);
        const unsigned n = e.w1().numerator(), d = e.w1().denominator();
        if (n >= 1 && d >= 1 && n != d) length = length.scaled(d, n);
        if (x == e.x) {
            if (length < shortest) shortest = length;
            continue;
        }
        total = total + shortest;
        x = e.x;
        shortest = length;
    }
    return total + shortest;
}

// The values of rests that hold `length` of time. Playback lets an undotted whole rest alone between the bar lines of
// its system last that bar, in the meter of the staff that leads the system, which a voice that has ended no longer
// follows: a whole is held by two halves.
std::vector<GmnWrittenValue> HoldingValues(const GmnRational& length) {
    constexpr unsigned wholeCode = 2;
    std::vector<GmnWrittenValue> values;
    for (GmnWrittenValue value : GmnWrittenValues(length)) {
        const bool whole = value.code == wholeCode && value.dots == 0 && value.tupletNum == value.tupletDen;
        if (whole) {
            ++value.code;
            value.length = value.length.scaled(1, 2);
            values.push_back(value);
        }
        values.push_back(value);
    }
    return values;
}

// The first staff of a line leads its alignment: the places of its notes give every staff's notes their places by
// time. Where its voice has ended and others go on, it holds the line's time with hidden rests, so that the staves
// that still play stand in the order they sound, and are heard so. The other silent staves of the line hold it too,
// as staves that end with the lead.
void HoldTimeOnSilentLeads(ScoreDocument& doc, int pageNumber) {
    PageRecord& page = *doc.findPage(pageNumber);
    const InsertionState saved = doc.insertion;
    for (const LineRange& line : LinesOfPage(page)) {
        std::vector<int> silent;
        GmnRational longest;
        int x = INT_MAX;
        for (int i = line.first; i <= line.last; ++i) {
            const StaffRecord& staff = page.staves[static_cast<std::size_t>(i)];
            const GmnRational length = LengthOfStaff(staff);
            if (length.isZero()) silent.push_back(i);
            if (longest < length) longest = length;
            for (const ElementRecord& e : staff.elements)
                if (!e.isSign()) x = std::min(x, e.x);
        }
        if (silent.empty() || silent.front() != line.first || !longest.isPositive()) continue;
        doc.currentPage = pageNumber;
        for (const int i : silent) {
            doc.currentStaff = i;
            int at = x;
            for (const GmnWrittenValue& value : HoldingValues(longest)) {
                doc.currentElement = static_cast<int>(page.staves[static_cast<std::size_t>(i)].elements.size()) - 1;
                doc.insertion.durationCode = value.code;
                doc.insertion.dots = value.dots;
                doc.insertion.proportionNum = value.tupletNum;
                doc.insertion.proportionDen = value.tupletDen;
                doc.insertion.word0Flags = 0;
                ElementRecord* rest = CreateNoteOrRest(doc, at, true, 1);
                if (!rest) break;
                rest->w0().setHidden(true);
                // A whole note moves x by 64 step units, as the import placed the music.
                const GmnRational dx = value.length.scaled(64 * std::max(doc.stepUnit, 1), 1);
                at += dx.num() / std::max(dx.den(), 1);
            }
        }
    }
    doc.insertion = saved;
}

}  // namespace

void LayOutGuidoPiece(ScoreDocument& doc, UiServices& ui, std::vector<GmnSequenceTimes> sequences,
                      const SignDistances& distances) {
    PageRecord* page = doc.findPage(1);
    const int n = std::min(static_cast<int>(sequences.size()), page ? static_cast<int>(page->staves.size()) : 0);
    if (n == 0) return;
    sequences.resize(static_cast<std::size_t>(n));

    // The sequences of one staff stand next to each other, in the order the piece gives its staves.
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return sequences[static_cast<std::size_t>(a)].staff < sequences[static_cast<std::size_t>(b)].staff;
    });
    std::vector<StaffRecord> staves;
    std::vector<GmnSequenceTimes> ordered;
    std::vector<int> staffOf;
    for (int k : order) {
        staves.push_back(std::move(page->staves[static_cast<std::size_t>(k)]));
        ordered.push_back(std::move(sequences[static_cast<std::size_t>(k)]));
        staffOf.push_back(ordered.back().staff);
    }
    for (int i = 0; i < n; ++i)
        page->staves[static_cast<std::size_t>(i)] = std::move(staves[static_cast<std::size_t>(i)]);

    AddClefWhereNone(doc, ordered);
    SetClefChanges(*page);
    ShareKeysOfStaves(*page, ordered);
    EndWithFinalBar(doc, n);
    const auto firstOfStaff = std::find_if(staffOf.begin(), staffOf.end(), [&](int k) { return k != staffOf.front(); });
    const bool trebleOverBass =
        FirstClef(page->staves.front()) == trebleClef && firstOfStaff != staffOf.end() &&
        FirstClef(page->staves[static_cast<std::size_t>(firstOfStaff - staffOf.begin())]) == bassClef;

    // The import placed the music by the step unit of the staff size it was written at: cutting its notes in two
    // places their parts by the same unit.
    const int writtenStep = std::max(doc.stepUnit, 1);
    const unsigned writtenSize = doc.layoutModel.definition();
    const std::vector<unsigned> lyricRoom = LyricRoom(*page, staffOf);
    const bool plainSystems = PieceStaffCount(staffOf) == staffOf.size() &&
                              std::all_of(lyricRoom.begin(), lyricRoom.end(), [](unsigned r) { return r == 0; });
    FitStavesOnPage(doc, *page, PieceStaffCount(staffOf), plainSystems);
    ScaleStaffTexts(*page, writtenSize, doc.layoutModel.definition());
    doc.layoutModel = SystemsModel(doc.layoutModel, staffOf, trebleOverBass, BracesOf(ordered, staffOf), lyricRoom);
    const std::vector<GmnText> names = InstrumentNames(ordered, staffOf, 2 * std::max(doc.stepUnit, 1));
    IndentForNames(doc, names, 2 * std::max(doc.stepUnit, 1));
    ApplyStaffLayoutModel(doc.layoutModel, *page);
    for (StaffRecord& staff : page->staves) staff.voice().setVoice(staff.voice().positionInGroup());

    // Where each staff can be cut: at every shared bar end, plus its start and its end. The cuts are found on the
    // places the import gave, then measuring the lines spaces the staves.
    const int su = std::max(doc.stepUnit, 1);
    std::vector<GmnRational> cutTimes = GmnCutTimes(ordered);
    std::vector<StaffRecord> unspaced(page->staves.begin(), page->staves.begin() + n);
    std::vector<std::vector<std::size_t>> cuts;
    const std::vector<GmnRational> moveTimes = MoveTimes(ordered);
    const auto cutAndMeasure = [&] {
        std::copy(unspaced.begin(), unspaced.end(), page->staves.begin());
        const auto cutAt = [&](const std::optional<GmnRational>& t) {
            std::vector<std::size_t> at;
            for (int i = 0; i < n; ++i) {
                const StaffRecord& staff = page->staves[static_cast<std::size_t>(i)];
                at.push_back(t ? GmnCutIndex(staff, ordered[static_cast<std::size_t>(i)], *t) : staff.elements.size());
            }
            cuts.push_back(std::move(at));
        };
        cuts.assign(1, std::vector<std::size_t>(static_cast<std::size_t>(n), 0));
        std::vector<std::vector<std::size_t>> ofStaff;
        for (int i = 0; i < n; ++i)
            ofStaff.push_back(GmnCutIndices(page->staves[static_cast<std::size_t>(i)],
                                            ordered[static_cast<std::size_t>(i)], cutTimes));
        for (std::size_t k = 0; k < cutTimes.size(); ++k) {
            std::vector<std::size_t> at;
            for (int i = 0; i < n; ++i) at.push_back(ofStaff[static_cast<std::size_t>(i)][k]);
            cuts.push_back(std::move(at));
        }
        cutAt(std::nullopt);
        SpaceEachStaff(doc, distances, n);
        return MeasureStretches(*page, n, su, cuts, moveTimes, cutTimes);
    };
    LineMeasure measure = cutAndMeasure();

    // A bar wider than a line lets a line end inside it, where a staff begins a note or rest: first where the other
    // staves rest, then, where the bar is still too wide, inside their notes too.
    GmnRational end;
    for (const GmnSequenceTimes& s : ordered)
        if (end.compare(s.end) < 0) end = s.end;
    for (const bool cuttingNotes : {false, true}) {
        std::vector<GmnRational> within;
        for (std::size_t k = 0; k < measure.widths.size(); ++k) {
            if (measure.widths[k] <= measure.room) continue;
            const auto more = GmnTimesWithin(ordered, k == 0 ? GmnRational() : cutTimes[k - 1],
                                             k < cutTimes.size() ? cutTimes[k] : end, cuttingNotes);
            within.insert(within.end(), more.begin(), more.end());
        }
        if (within.empty()) continue;
        cutTimes.insert(cutTimes.end(), within.begin(), within.end());
        std::sort(cutTimes.begin(), cutTimes.end());
        measure = cutAndMeasure();
    }
    // The systems and pages the piece asks for begin where it asks.
    std::vector<std::pair<GmnRational, bool>> breaks;
    for (const GmnSequenceTimes& s : ordered)
        for (const auto& b : s.breaks)
            if (b.first.isPositive() && b.first.compare(end) < 0) breaks.push_back(b);
    for (const auto& b : breaks)
        if (std::find(cutTimes.begin(), cutTimes.end(), b.first) == cutTimes.end()) cutTimes.push_back(b.first);
    if (!breaks.empty()) {
        std::sort(cutTimes.begin(), cutTimes.end());
        measure = cutAndMeasure();
    }
    const auto asked = [&](std::size_t k, bool page) {
        return k > 0 && std::any_of(breaks.begin(), breaks.end(), [&](const auto& b) {
                   return b.first == cutTimes[k - 1] && (b.second || !page);
               });
    };
    std::vector<bool> forced(measure.widths.size());
    for (std::size_t k = 0; k < forced.size(); ++k) forced[k] = asked(k, false);
    const std::vector<std::size_t> starts = LineStarts(measure, forced);
    std::vector<std::size_t> pageStarts;
    for (std::size_t line = 1; line < starts.size(); ++line)
        if (asked(starts[line], true)) pageStarts.push_back(line);

    // A line that ends inside notes or rests of a staff cuts them in two.
    std::vector<GmnRational> lineEnds;
    for (std::size_t line = 1; line < starts.size(); ++line) lineEnds.push_back(cutTimes[starts[line] - 1]);
    bool cutPieces = false;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        for (const GmnRational& t : GmnEndsCuttingPieces(ordered[i], lineEnds)) {
            GmnCutPiecesAt(unspaced[i], ordered[i], t, writtenStep);
            cutPieces = true;
        }
    }
    if (cutPieces) cutAndMeasure();
    DealOutLines(doc, ui, n, cuts, starts, pageStarts);

    // Each page in turn: the lines begin with their clefs, then are respaced, aligned and justified; a line that is
    // still too long sends its end to the next line, the last line's to a new page laid out in its turn.
    VoiceClefs laidOutClefs;  // the clefs of the pages already laid out, gathered as they are done
    for (int p = 1; doc.findPage(p) != nullptr; ++p) {
        VoiceClefs clefs = laidOutClefs;
        PageRecord& laidOut = *doc.findPage(p);
        EnsurePageLineClefs(laidOut, clefs, std::max(doc.stepUnit, 1));
        HoldTimeOnSilentLeads(doc, p);
        doc.currentPage = p;
        doc.currentStaff = 0;
        doc.currentElement = -1;
        RecalculateDistances(doc, ui, distances, false);
        GiveSyllablesRoomOnPage(doc);
        for (const StaffRecord& staff : doc.findPage(p)->staves) laidOutClefs.enter(staff);
    }
    for (PageRecord& laidOut : doc.pages) {
        SeparateRestsOfSharedStaves(laidOut);
        StemSharedStaffVoicesApart(laidOut);
        HideClefChangesRepeatedOnSharedStaves(laidOut);
        DropSystemsAfterTheMusic(laidOut);
    }
    // Once voices that rest alike on one staff show one rest, that rest is set as the bar's.
    SetWholeBarRests(doc);
    // The pitches' display and the chords follow the places the layout settled.
    EngraveImportedPages(doc);
    for (PageRecord& laidOut : doc.pages) SetClashingNotesApart(laidOut, std::max(doc.stepUnit, 1));
    NameInstruments(*doc.findPage(1), names);
    doc.markModified();
}

void GatherIntoOneSystem(ScoreDocument& doc, int n) {
    PageRecord* page = doc.findPage(1);
    if (!page || n <= 0) return;
    std::vector<int> staffOf(static_cast<std::size_t>(n));
    std::iota(staffOf.begin(), staffOf.end(), 1);
    StaffLayoutModel model = SystemsModel(doc.layoutModel, staffOf, false, {}, std::vector<unsigned>(staffOf.size(), 0));
    model.setStaffCount(static_cast<unsigned>(n));
    doc.layoutModel = model;
    ApplyStaffLayoutModel(doc.layoutModel, *page);
    for (StaffRecord& staff : page->staves) staff.voice().setVoice(staff.voice().positionInGroup());
}

void EngraveImportedPages(ScoreDocument& doc) {
    for (PageRecord& page : doc.pages) NormalisePage(page, normalise_mode::exclusive);
    for (const PageRecord& page : doc.pages) {
        doc.currentPage = static_cast<int>(page.number);
        ArrangeNotesOfPage(doc);
    }
    doc.currentPage = 1;
    doc.currentStaff = 0;
    doc.currentElement = -1;
}

}  // namespace notavera
