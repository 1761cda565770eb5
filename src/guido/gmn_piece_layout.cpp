// The systems of an imported piece, its default clefs and its layout over pages.
#include "guido/gmn_piece_layout.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <optional>

#include "edit/accidental_normalising.h"
#include "render/arrange_notes.h"
#include "render/line_respacing.h"
#include "render/line_start_signs.h"
#include "render/recalculate_distances.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"
#include "score/page_append.h"
#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera {

namespace {

// Distances from the top of one staff to the top of the next, in staff spaces.
constexpr unsigned topDistance = 10;          // the first staff, from the top of the page
constexpr unsigned withinSystem = 10;         // between the staves of one system
constexpr unsigned betweenSystems = 14;       // from the last staff of a system to the first of the next
constexpr unsigned betweenSingleStaves = 13;  // systems of one staff each
constexpr unsigned lineCount = 5;
constexpr unsigned closestStaves = lineCount + 1;  // four spaces of staff and two between

constexpr unsigned trebleClef = 1;
constexpr unsigned bassClef = 3;
constexpr int clefRoom = 60;

// The clef a staff begins with, 0 when a note or rest comes first (or nothing at all).
unsigned FirstClef(const StaffRecord& staff) {
    for (const ElementRecord& e : staff.elements) {
        if (e.isSignOfType(SignType::Clef)) return e.signWord().code();
        if (!e.isSign()) return 0;
    }
    return 0;
}

// A staff that holds music but names no clef before it is read in the treble clef, as GUIDO readers show it.
void AddTrebleClefWhereNone(ScoreDocument& doc, int staffCount) {
    PageRecord* page = doc.findPage(1);
    for (int s = 0; s < staffCount; ++s) {
        StaffRecord& staff = page->staves[static_cast<std::size_t>(s)];
        if (staff.elements.empty() || FirstClef(staff) != 0) continue;
        // The clef goes in front of everything; the layout respaces the line after it.
        const int x = std::max(0, staff.elements.front().x);
        for (ElementRecord& e : staff.elements) e.x += clefRoom;
        doc.currentStaff = s;
        doc.currentElement = -1;
        CreateSign(doc, x, 0, static_cast<int>(trebleClef), SignType::Clef, 0);
    }
}

// The page's height in staff spaces as the document's model fills it: the systems of the piece take as much.
unsigned HeightOfModel(const StaffLayoutModel& model) {
    unsigned height = 0;
    const int count = static_cast<int>(model.staffCount());
    for (int i = 0; i < count; ++i) height += staff_model::Distance::get(model.staffWord(i));
    return height + (count > 0 ? staff_model::LineCount::get(model.staffWord(count - 1)) - 1 : 0);
}

// Systems of the staves of one piece, as many as the page holds. `staffOf` gives the piece staff of each staff of a
// system: equal neighbours stand superposed. Two piece staves, treble over bass, are braced; other systems of several
// staves are bracketed.
StaffLayoutModel SystemsModel(const StaffLayoutModel& base, const std::vector<int>& staffOf, bool trebleOverBass) {
    const int n = static_cast<int>(staffOf.size());
    const auto superposed = [&staffOf](int i) {
        return i > 0 && staffOf[static_cast<std::size_t>(i)] == staffOf[static_cast<std::size_t>(i - 1)];
    };
    int pieceStaves = 0;
    unsigned systemHeight = 0;
    for (int i = 0; i < n; ++i) {
        if (superposed(i)) continue;
        ++pieceStaves;
        if (i > 0) systemHeight += withinSystem;
    }
    const unsigned step = pieceStaves == 1 ? betweenSingleStaves : betweenSystems;
    const unsigned room = HeightOfModel(base);
    // A system taller than the page brings its staves closer, down to a space and a half between them.
    unsigned within = withinSystem;
    if (pieceStaves > 1 && topDistance + systemHeight + lineCount - 1 > room) {
        const unsigned fit = room > topDistance + lineCount ? (room - topDistance - lineCount + 1) / (pieceStaves - 1) : 0;
        within = std::max(fit, closestStaves);
        systemHeight = within * static_cast<unsigned>(pieceStaves - 1);
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
            staff_model::Distance::set(w, i > 0 ? (superposed(i) ? 0 : within) : s == 0 ? topDistance : step);
            staff_model::LineCount::set(w, lineCount);
            const unsigned position = n == 1 ? 3 : i == 0 ? 1 : i == n - 1 ? 2 : 0;
            staff_model::SystemGrouping::set(w, position);
            if (grouped) {
                staff_model::BlockGrouping::set(w, position);
                staff_model::Brace::set(w, pieceStaves == 2 && trebleOverBass);
            }
        }
    }
    return m;
}

// The times the lines may end at: the bar ends that every sequence still playing has; a sequence without bar lines
// lets a line end where one of its notes or rests begins, never inside one.
std::vector<GmnRational> CutTimes(const std::vector<GmnSequenceTimes>& sequences) {
    std::vector<GmnRational> cuts;
    const GmnSequenceTimes* leader = nullptr;
    for (const GmnSequenceTimes& s : sequences)
        if (!s.bars.empty() && (!leader || s.bars.size() > leader->bars.size())) leader = &s;
    // Without bar lines anywhere, the lines may end wherever every sequence starts a note or rest together.
    std::vector<GmnRational> candidates;
    if (leader) {
        candidates = leader->bars;
    } else {
        for (const GmnSequenceTimes& s : sequences)
            if (!leader || s.events.size() > leader->events.size()) leader = &s;
        if (!leader) return cuts;
        for (const auto& event : leader->events)
            if (event.first.isPositive()) candidates.push_back(event.first);
    }
    const auto startsAt = [](const GmnSequenceTimes& s, const GmnRational& t) {
        return s.bars.empty() && std::any_of(s.events.begin(), s.events.end(),
                                             [&t](const auto& e) { return e.first == t; });
    };
    for (const GmnRational& t : candidates) {
        const bool shared = std::all_of(sequences.begin(), sequences.end(), [&t, &startsAt](const GmnSequenceTimes& s) {
            return !(t.compare(s.end) < 0) || startsAt(s, t) ||
                   std::any_of(s.bars.begin(), s.bars.end(), [&t](const GmnRational& b) { return b == t; });
        });
        if (shared && (cuts.empty() || cuts.back().compare(t) < 0)) cuts.push_back(t);
    }
    return cuts;
}

// The index of the first element of `staff` that belongs after time `t`: everything written before the first note or
// rest at `t` or later (the bar line that ends the bar stays before the cut).
std::size_t CutIndex(const StaffRecord& staff, const GmnSequenceTimes& times, const GmnRational& t) {
    int x = INT_MAX;
    for (const auto& [time, at] : times.events)
        if (!(time.compare(t) < 0)) x = std::min(x, at);
    std::size_t i = 0;
    while (i < staff.elements.size() && staff.elements[i].x < x) ++i;
    return i;
}

// Which bars (cut indices, from 0 for the start) go on each line: as many as the line length holds, one at least. A bar
// is as wide as its widest staff spaced on its own; aligning the staves needs some room more.
std::vector<std::size_t> LineStarts(ScoreDocument& doc, const SignDistances& distances, int n,
                                    const std::vector<std::vector<std::size_t>>& cuts) {
    PageRecord& page = *doc.findPage(1);
    DocumentSpacing source(doc, distances);
    for (int i = 0; i < n; ++i) SpaceLineOfPage(doc, page, LineRange{i, i}, SpacingMode::Raw, source);
    const int su = std::max(doc.stepUnit, 1);
    const auto xAt = [&](int staff, std::size_t index) {
        const auto& els = page.staves[static_cast<std::size_t>(staff)].elements;
        return index < els.size() ? els[index].x : (els.empty() ? 0 : els.back().x + 4 * su);
    };
    int music = 0;
    for (int i = 0; i < n; ++i)
        music = std::max(music, xAt(i, AfterLineStartSigns(page.staves[static_cast<std::size_t>(i)])));
    const int room = LineLengthOf(page) - music;
    std::vector<std::size_t> starts{0};
    int used = 0;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
        int width = 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t from = k == 0 ? AfterLineStartSigns(page.staves[static_cast<std::size_t>(i)])
                                            : cuts[k][static_cast<std::size_t>(i)];
            width = std::max(width, xAt(i, cuts[k + 1][static_cast<std::size_t>(i)]) - xAt(i, from));
        }
        width += width / 5;
        if (used > 0 && used + width > room) {
            starts.push_back(k);
            used = 0;
        }
        used += width;
    }
    return starts;
}

// Deals the music of the first system out to the systems that follow, line by line, appending pages as needed. Each
// staff that receives music starts in the key in force where its music begins.
void DealOutLines(ScoreDocument& doc, UiServices& ui, int n, const std::vector<std::vector<std::size_t>>& cuts,
                  const std::vector<std::size_t>& starts) {
    const int systemsPerPage = static_cast<int>(doc.findPage(1)->staves.size()) / n;
    std::vector<std::vector<ElementRecord>> music(static_cast<std::size_t>(n));
    std::vector<StaffRecord> originals;
    for (int i = 0; i < n; ++i) originals.push_back(doc.findPage(1)->staves[static_cast<std::size_t>(i)]);
    for (std::size_t line = 1; line < starts.size(); ++line) {
        const int page = 1 + static_cast<int>(line) / systemsPerPage;
        if (doc.findPage(page) == nullptr && PageAfter(doc, ui, page - 1) == nullptr) break;
        const std::size_t endCut = line + 1 < starts.size() ? starts[line + 1] : cuts.size() - 1;
        for (int i = 0; i < n; ++i) {
            const StaffRecord& from = originals[static_cast<std::size_t>(i)];
            const std::size_t a = cuts[starts[line]][static_cast<std::size_t>(i)];
            const std::size_t b = cuts[endCut][static_cast<std::size_t>(i)];
            StaffRecord& to =
                doc.findPage(page)->staves[static_cast<std::size_t>((static_cast<int>(line) % systemsPerPage) * n + i)];
            to.elements.assign(from.elements.begin() + static_cast<std::ptrdiff_t>(a),
                               from.elements.begin() + static_cast<std::ptrdiff_t>(b));
            const KeyInEffect key =
                KeyInEffectAt(from, static_cast<int>(a) - 1, a < from.elements.size() ? from.elements[a].x : INT_MAX);
            to.key().setKeyKind(key.cancelled ? KeyKind::None : key.kind);
            to.key().setKeyCount(key.cancelled ? 0 : key.count);
        }
    }
    if (starts.size() < 2) return;
    for (int i = 0; i < n; ++i) {
        auto& els = doc.findPage(1)->staves[static_cast<std::size_t>(i)].elements;
        els.resize(cuts[starts[1]][static_cast<std::size_t>(i)]);
    }
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

    AddTrebleClefWhereNone(doc, n);
    const auto firstOfStaff = std::find_if(staffOf.begin(), staffOf.end(), [&](int k) { return k != staffOf.front(); });
    const bool trebleOverBass =
        FirstClef(page->staves.front()) == trebleClef && firstOfStaff != staffOf.end() &&
        FirstClef(page->staves[static_cast<std::size_t>(firstOfStaff - staffOf.begin())]) == bassClef;

    doc.layoutModel = SystemsModel(doc.layoutModel, staffOf, trebleOverBass);
    ApplyStaffLayoutModel(doc.layoutModel, *page);
    for (StaffRecord& staff : page->staves) staff.voice().setVoice(staff.voice().positionInGroup());

    // Where each staff can be cut: at every shared bar end, plus its start and its end.
    std::vector<std::vector<std::size_t>> cuts;
    const auto cutAll = [&](const std::optional<GmnRational>& t) {
        std::vector<std::size_t> at;
        for (int i = 0; i < n; ++i) {
            const StaffRecord& staff = page->staves[static_cast<std::size_t>(i)];
            at.push_back(t ? CutIndex(staff, ordered[static_cast<std::size_t>(i)], *t) : staff.elements.size());
        }
        cuts.push_back(std::move(at));
    };
    cuts.push_back(std::vector<std::size_t>(static_cast<std::size_t>(n), 0));
    for (const GmnRational& t : CutTimes(ordered)) cutAll(t);
    cutAll(std::nullopt);
    DealOutLines(doc, ui, n, cuts, LineStarts(doc, distances, n, cuts));

    // Each page in turn: the lines begin with their clefs, then are respaced, aligned and justified; a line that is
    // still too long sends its end to the next line, the last line's to a new page laid out in its turn.
    for (int p = 1; doc.findPage(p) != nullptr; ++p) {
        VoiceClefs clefs = VoiceClefs::before(doc, p);
        PageRecord& laidOut = *doc.findPage(p);
        for (const LineRange& line : LinesOfPage(laidOut)) {
            EnsureLineStartClefs(laidOut, line, clefs, std::max(doc.stepUnit, 1));
            clefs.enterLine(laidOut, line);
        }
        doc.currentPage = p;
        doc.currentStaff = 0;
        doc.currentElement = -1;
        RecalculateDistances(doc, ui, distances, false);
    }
    // The pitches' display and the chords follow the places the layout settled.
    EngraveImportedPages(doc);
    doc.markModified();
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
