// Breaking lines that are too long and the user's line cuts: finding the neighbouring line of the same voices,
// the cut column, and moving the music across.
#include "render/line_breaks.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>

#include "platform/messages.h"
#include "render/line_respacing.h"
#include "render/line_start_signs.h"
#include "score/accidental_context.h"
#include "score/page_append.h"

namespace notavera {

namespace {

bool SameVoices(const PageRecord& a, LineRange ra, const PageRecord& b, LineRange rb) {
    if (ra.size() != rb.size()) return false;
    for (int k = 0; k < ra.size(); ++k)
        if (a.staves[static_cast<std::size_t>(ra.first + k)].voice().voice() !=
            b.staves[static_cast<std::size_t>(rb.first + k)].voice().voice())
            return false;
    return true;
}

// The first line of `page` below staff `after` with the voices of `line` on `model`.
std::optional<LineRange> MatchingLineBelow(const PageRecord& page, const PageRecord& model, LineRange line,
                                           int after) {
    for (const LineRange& r : LinesOfPage(page))
        if (r.first > after && SameVoices(page, r, model, line)) return r;
    return std::nullopt;
}

PageRecord& PageOf(ScoreDocument& doc, const LinePlace& p) { return *doc.findPage(p.page); }

int LastX(const PageRecord& page, LineRange line) {
    int x = INT_MIN;
    for (int i = line.first; i <= line.last; ++i)
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(i)].elements) x = std::max(x, e.x);
    return x;
}

// Elements [from[k], to[k]) of each staff of a line.
struct Portion {
    std::vector<std::size_t> from;
    std::vector<std::size_t> to;
};

std::pair<int, int> PortionExtent(const PageRecord& page, LineRange line, const Portion& p) {
    int low = INT_MAX, high = INT_MIN;
    for (int k = 0; k < line.size(); ++k) {
        const auto& els = page.staves[static_cast<std::size_t>(line.first + k)].elements;
        for (std::size_t i = p.from[static_cast<std::size_t>(k)]; i < p.to[static_cast<std::size_t>(k)]; ++i) {
            low = std::min(low, els[i].x);
            high = std::max(high, els[i].x);
        }
    }
    return {low, high};
}

bool PortionEmpty(const Portion& p) {
    for (std::size_t k = 0; k < p.from.size(); ++k)
        if (p.to[k] > p.from[k]) return false;
    return true;
}

std::vector<ElementRecord> TakePortion(StaffRecord& staff, std::size_t from, std::size_t to) {
    auto& els = staff.elements;
    std::vector<ElementRecord> taken(els.begin() + static_cast<std::ptrdiff_t>(from),
                                     els.begin() + static_cast<std::ptrdiff_t>(to));
    els.erase(els.begin() + static_cast<std::ptrdiff_t>(from), els.begin() + static_cast<std::ptrdiff_t>(to));
    return taken;
}

// A line that begins where another's music stops begins in the key in force there.
void StartInKeyOf(const StaffRecord& before, StaffRecord& line) {
    StartStaffInKey(line, KeyInEffectAt(before, static_cast<int>(before.elements.size()) - 1, INT_MAX));
}

// The portion goes to the start of `dst`, after its line-start signs, keeping its distances; the music already
// there moves right to make room. `dst` begins in the key in force where the music left `src`.
void MoveToLineStart(PageRecord& srcPage, LineRange src, const Portion& p, PageRecord& dstPage, LineRange dst,
                     int su) {
    const auto [low, high] = PortionExtent(srcPage, src, p);
    int base = INT_MIN, existing = INT_MAX;
    for (int k = 0; k < dst.size(); ++k) {
        const StaffRecord& d = dstPage.staves[static_cast<std::size_t>(dst.first + k)];
        const std::size_t at = AfterLineStartSigns(d);
        base = std::max(base, at > 0 ? d.elements[at - 1].x + 10 * su : StartColumnOf(dstPage, d, su));
        if (at < d.elements.size()) existing = std::min(existing, d.elements[at].x);
    }
    const int room = base + (high - low) + 4 * su;
    const int push = existing == INT_MAX ? 0 : std::max(room - existing, 0);
    for (int k = 0; k < src.size(); ++k) {
        const auto kk = static_cast<std::size_t>(k);
        StaffRecord& d = dstPage.staves[static_cast<std::size_t>(dst.first + k)];
        std::vector<ElementRecord> moved =
            TakePortion(srcPage.staves[static_cast<std::size_t>(src.first + k)], p.from[kk], p.to[kk]);
        const std::size_t at = AfterLineStartSigns(d);
        for (std::size_t i = at; i < d.elements.size(); ++i) d.elements[i].x += push;
        for (ElementRecord& e : moved) e.x = base + (e.x - low);
        d.elements.insert(d.elements.begin() + static_cast<std::ptrdiff_t>(at), moved.begin(), moved.end());
        StartInKeyOf(srcPage.staves[static_cast<std::size_t>(src.first + k)], d);
    }
}

// The portion goes to the end of `dst`, keeping its distances, one bar distance after what is there; `src` then
// begins in the key in force at the end of `dst`.
void MoveToLineEnd(PageRecord& srcPage, LineRange src, const Portion& p, PageRecord& dstPage, LineRange dst,
                   int su) {
    const auto [low, high] = PortionExtent(srcPage, src, p);
    const int end = LastX(dstPage, dst);
    const int base = end == INT_MIN ? StartColumnOf(dstPage, dstPage.staves[static_cast<std::size_t>(dst.first)], su)
                                    : end + 4 * su;
    for (int k = 0; k < src.size(); ++k) {
        const auto kk = static_cast<std::size_t>(k);
        std::vector<ElementRecord> moved =
            TakePortion(srcPage.staves[static_cast<std::size_t>(src.first + k)], p.from[kk], p.to[kk]);
        for (ElementRecord& e : moved) e.x = base + (e.x - low);
        StaffRecord& d = dstPage.staves[static_cast<std::size_t>(dst.first + k)];
        d.elements.insert(d.elements.end(), moved.begin(), moved.end());
        StartInKeyOf(d, srcPage.staves[static_cast<std::size_t>(src.first + k)]);
    }
}

// The bar column of the line that the music after it can be cut from: the last one within the line length where
// every staff still holding music has a bar. Its x on each staff gives the cut.
std::optional<Portion> BreakPortion(const PageRecord& page, LineRange line, int length, int tolerance, int start) {
    std::vector<int> bars;
    for (int i = line.first; i <= line.last; ++i)
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(i)].elements)
            if (e.isSignOfType(SignType::Bar) && e.x <= length && e.x > start) bars.push_back(e.x);
    std::sort(bars.begin(), bars.end(), std::greater<>());
    for (int barX : bars) {
        Portion p;
        bool ok = true;
        for (int i = line.first; i <= line.last && ok; ++i) {
            const auto& els = page.staves[static_cast<std::size_t>(i)].elements;
            std::size_t cut = 0;
            while (cut < els.size() && els[cut].x <= barX + tolerance) ++cut;
            const auto atCut = [&](const ElementRecord& e) {
                return e.isSignOfType(SignType::Bar) && std::abs(e.x - barX) <= tolerance;
            };
            const bool hasBar = std::any_of(els.begin(), els.begin() + static_cast<std::ptrdiff_t>(cut), atCut);
            const bool musicAfter = std::any_of(els.begin() + static_cast<std::ptrdiff_t>(cut), els.end(),
                                                [](const ElementRecord& e) { return !e.isSign(); });
            ok = hasBar || !musicAfter;
            p.from.push_back(cut);
            p.to.push_back(els.size());
        }
        if (ok && !PortionEmpty(p)) return p;
    }
    return std::nullopt;
}

// Whether a cut before element `cut` separates notes that belong together: a beam group or a tuplet.
bool SplitsGroup(const StaffRecord& staff, std::size_t cut) {
    const auto& els = staff.elements;
    std::size_t before = cut;
    while (before > 0 && els[before - 1].isSign()) --before;
    std::size_t after = cut;
    while (after < els.size() && els[after].isSign()) ++after;
    if (before == 0 || after >= els.size()) return false;
    const ElementRecord& prev = els[before - 1];
    const ElementRecord& next = els[after];
    if (prev.w0().inBeam() && !prev.w0().closesBeam() && next.w0().inBeam() && !next.w0().opensBeam()) return true;
    for (std::size_t i = before; i-- > 0;) {
        if (els[i].isSign()) continue;
        const unsigned mark = els[i].w0().groupMark();
        if ((mark & 2u) != 0) return false;  // the tuplet closed before the cut
        if ((mark & 1u) != 0) return true;   // it opened and is still open
    }
    return false;
}

}  // namespace

std::optional<LinePlace> FollowingLine(ScoreDocument& doc, UiServices& ui, const LinePlace& from, bool create) {
    const PageRecord* page = doc.findPage(from.page);
    if (page == nullptr) return std::nullopt;
    if (auto r = MatchingLineBelow(*page, *page, from.line, from.line.last)) return LinePlace{from.page, *r};
    PageRecord* next = create ? PageAfter(doc, ui, from.page) : doc.findPage(from.page + 1);
    if (next == nullptr) return std::nullopt;
    page = doc.findPage(from.page);  // reading or appending a page moves the pages in memory
    if (auto r = MatchingLineBelow(*next, *page, from.line, -1)) return LinePlace{from.page + 1, *r};
    return std::nullopt;
}

std::optional<LinePlace> PrecedingLine(const ScoreDocument& doc, const LinePlace& from) {
    const PageRecord* page = doc.findPage(from.page);
    if (page == nullptr) return std::nullopt;
    std::optional<LineRange> found;
    for (const LineRange& r : LinesOfPage(*page))
        if (r.last < from.line.first && SameVoices(*page, r, *page, from.line)) found = r;
    if (found) return LinePlace{from.page, *found};
    const PageRecord* previous = doc.findPage(from.page - 1);
    if (previous == nullptr) return std::nullopt;
    for (const LineRange& r : LinesOfPage(*previous))
        if (SameVoices(*previous, r, *page, from.line)) found = r;
    if (found) return LinePlace{from.page - 1, *found};
    return std::nullopt;
}

bool UnbreakableLines::firstReport(const LinePlace& place) {
    if (std::find(reported_.begin(), reported_.end(), place) != reported_.end()) return false;
    reported_.push_back(place);
    return true;
}

BreakResult BreakLongLine(ScoreDocument& doc, UiServices& ui, const LinePlace& place, UnbreakableLines& reported) {
    const PageRecord* page = doc.findPage(place.page);
    if (page == nullptr) return {};
    const int length = LineLengthOf(*page);
    if (length <= 0 || LastX(*page, place.line) <= length) return {};
    const int su = std::max(doc.stepUnit, 1);
    const int tolerance = std::max(static_cast<int>(static_cast<signed char>(doc.settings.alignmentResolution)), 0);
    const int start = StartColumnOf(*page, page->staves[static_cast<std::size_t>(place.line.first)], su);
    const std::optional<Portion> portion = BreakPortion(*page, place.line, length, tolerance, start);
    const std::optional<LinePlace> target = portion ? FollowingLine(doc, ui, place, true) : std::nullopt;
    if (!target) {
        if (reported.firstReport(place)) ShowNotice(ui, 51);
        return {BreakOutcome::Unbreakable, std::nullopt};
    }
    MoveToLineStart(PageOf(doc, place), place.line, *portion, PageOf(doc, *target), target->line, su);
    doc.markModified();
    return {BreakOutcome::Broken, target};
}

LineCutOutcome CutBlock(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, const LinePlace& here,
                        int x, LineCut direction) {
    const PageRecord* page = doc.findPage(here.page);
    if (page == nullptr) return LineCutOutcome::NoLine;
    Portion p;
    for (int i = here.line.first; i <= here.line.last; ++i) {
        const StaffRecord& staff = page->staves[static_cast<std::size_t>(i)];
        const std::size_t music = AfterLineStartSigns(staff);
        std::size_t cut = music;
        while (cut < staff.elements.size() && staff.elements[cut].x < x) ++cut;
        if (SplitsGroup(staff, cut)) return LineCutOutcome::SplitsGroup;
        p.from.push_back(direction == LineCut::Down ? cut : music);
        p.to.push_back(direction == LineCut::Down ? staff.elements.size() : cut);
    }
    const std::optional<LinePlace> target =
        PortionEmpty(p) ? std::nullopt
                        : (direction == LineCut::Down ? FollowingLine(doc, ui, here, true) : PrecedingLine(doc, here));
    if (!target) return LineCutOutcome::NoLine;
    const int su = std::max(doc.stepUnit, 1);
    PageRecord& src = PageOf(doc, here);
    PageRecord& dst = PageOf(doc, *target);
    if (direction == LineCut::Down) {
        MoveToLineStart(src, here.line, p, dst, target->line, su);
    } else {
        MoveToLineEnd(src, here.line, p, dst, target->line, su);
    }
    DocumentSpacing source(doc, distances);
    SpaceLineOfPage(doc, src, here.line, SpacingMode::Raw, source);
    SpaceLineOfPage(doc, dst, target->line, SpacingMode::Raw, source);
    return LineCutOutcome::Moved;
}

}  // namespace notavera
