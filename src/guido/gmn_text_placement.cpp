// Placing imported texts against the ink the page's own drawing puts down.
#include "guido/gmn_text_placement.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <span>

#include "render/draw_element.h"
#include "render/draw_texts.h"
#include "render/ink_canvas.h"
#include "render/page_pass.h"

namespace notavera {
namespace {

// The room left around every text, in staff spaces: a quarter, and half a space off the staff lines.
constexpr int RoomQuarters = 1;
constexpr int StaffClearanceQuarters = 2;
// How far a text may be moved away from its staff to find room, in quarter spaces.
constexpr int MaxStepsAway = 48;
constexpr int PrinterMargin = 40;

struct PagePlacer {
    ScoreDocument& doc;
    PageRecord& page;
    DrawingContext dc;
    std::vector<Box> ink;

    int quarter(const StaffRecord& staff) const { return std::max(1, space(staff) / 4); }
    int space(const StaffRecord& staff) const { return dc.metrics.staffSpace[frame(staff).small ? 1 : 0]; }
    const StaffDrawState& frame(const StaffRecord& staff) const {
        return dc.staves[std::min<std::size_t>(staff.key().index(), dc.staves.size() - 1)];
    }
    double top(const StaffRecord& staff) const {
        return frame(staff).referenceY - dc.metrics.staffHeight[frame(staff).small ? 1 : 0];
    }

    bool clear(const Box& b, int room) const {
        return std::none_of(ink.begin(), ink.end(), [&](const Box& o) { return BoxesOverlap(b, o, -room); });
    }

    std::optional<Box> boxAt(StaffRecord& staff, int i, int lowerEdge) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        e.param = TextParamFor(lowerEdge, top(staff), space(staff));
        const auto p = PlaceTextSign(dc, staff, i);
        return p ? std::optional<Box>(p->box) : std::nullopt;
    }

    // The lower edge that puts the texts `indices` of the staff clear of the ink, searching from where their boxes
    // start `limit` away from the staff towards `direction` (+1 up, −1 down); the first place when none is clear.
    int findLine(StaffRecord& staff, std::span<const int> indices, int direction, int limit) {
        const int q = quarter(staff);
        const int room = RoomQuarters * q;
        std::vector<Box> boxes;
        // Where the boxes stand with their lower edge on the staff's top line, to start from `limit`.
        const int base = static_cast<int>(top(staff));
        int reach = direction > 0 ? INT_MAX : INT_MIN;
        for (int i : indices)
            if (auto b = boxAt(staff, i, base)) reach = direction > 0 ? std::min(reach, b->bottom) : std::max(reach, b->top);
        if (reach == INT_MAX || reach == INT_MIN) return base;
        const int first = base + (limit - reach);
        for (int step = 0; step <= MaxStepsAway; ++step) {
            const int lower = first + direction * step * q;
            boxes.clear();
            for (int i : indices)
                if (auto b = boxAt(staff, i, lower)) boxes.push_back(*b);
            if (std::all_of(boxes.begin(), boxes.end(), [&](const Box& b) { return clear(b, room); })) return lower;
        }
        return first;
    }

    void settle(StaffRecord& staff, std::span<const int> indices, int lowerEdge) {
        for (int i : indices)
            if (auto b = boxAt(staff, i, lowerEdge)) ink.push_back(*b);
    }

    int aboveLimit(const StaffRecord& staff) const { return frame(staff).topLine + StaffClearanceQuarters * quarter(staff); }
    int belowLimit(const StaffRecord& staff) const {
        return static_cast<int>(top(staff)) - dc.metrics.staffHeight[frame(staff).small ? 1 : 0] -
               StaffClearanceQuarters * quarter(staff);
    }

    // Syllables of one line that the notes' spacing brings too close are moved apart, each half the way, as far as
    // an element's fine offset reaches: what is left is for the spacing of the line to cure.
    void separateSyllables(StaffRecord& staff, std::span<const int> lyrics) {
        const int gap = space(staff) / 2;
        for (int pass = 0; pass < 3; ++pass)
        for (std::size_t k = 1; k < lyrics.size(); ++k) {
            ElementRecord& before = staff.elements[static_cast<std::size_t>(lyrics[k - 1])];
            ElementRecord& after = staff.elements[static_cast<std::size_t>(lyrics[k])];
            const auto a = boxAt(staff, lyrics[k - 1], 0), b = boxAt(staff, lyrics[k], 0);
            if (!a || !b || a->right + gap <= b->left) continue;
            const int overlap = a->right + gap - b->left;
            before.shift = static_cast<std::int8_t>(std::clamp(before.shift - overlap / 2, -127, 127));
            after.shift = static_cast<std::int8_t>(std::clamp(after.shift + (overlap - overlap / 2), -127, 127));
        }
    }
    void keepWithinLine(StaffRecord& staff);
    void placeInstrumentNames();
    void placeHeadings(const std::vector<GmnText>& headings);
    void placeStaves();
};

bool IsLyric(const ElementRecord& e) { return IsText(e) && TextAttributesOf(e).category == TextCategory::Lyrics; }

bool IsInstrumentName(const ElementRecord& e) {
    return IsText(e) && TextAttributesOf(e).category == TextCategory::Instrument;
}

// An instrument's name stands in the indentation of the first system, ending before the bracket, and level with the
// middle of its staff.
void PagePlacer::placeInstrumentNames() {
    for (StaffRecord& staff : page.staves) {
        for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
            if (!IsInstrumentName(staff.elements[static_cast<std::size_t>(i)])) continue;
            const auto b = boxAt(staff, i, 0);
            if (!b) continue;
            const int middle = static_cast<int>(top(staff)) - dc.metrics.staffHeight[frame(staff).small ? 1 : 0] / 2;
            ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
            e.x = std::max(0, frame(staff).left - 2 * space(staff) - (b->right - b->left));
            if (const auto placed = boxAt(staff, i, middle - (b->top + b->bottom) / 2)) ink.push_back(*placed);
        }
    }
}

// A text moved left goes in front of the first element that stands further right than it, the rest of the staff
// keeping its order.
void MoveInOrder(StaffRecord& staff, int index) {
    auto& els = staff.elements;
    ElementRecord e = std::move(els[static_cast<std::size_t>(index)]);
    els.erase(els.begin() + index);
    const auto at = std::find_if(els.begin(), els.end(), [&](const ElementRecord& o) { return o.x > e.x; });
    els.insert(at, std::move(e));
}

void PagePlacer::placeHeadings(const std::vector<GmnText>& headings) {
    if (headings.empty() || page.staves.empty() || ink.empty()) return;
    StaffRecord& staff = page.staves.front();
    const StaffDrawState& f = frame(staff);
    const int q = quarter(staff);
    const int room = 2 * RoomQuarters * q;
    int musicTop = INT_MIN, musicBottom = INT_MAX;
    for (const Box& b : ink) {
        musicTop = std::max(musicTop, b.top);
        musicBottom = std::min(musicBottom, b.bottom);
    }
    // The titles make a column in the middle from the head of the page down, the composer lines one at the right.
    int titleTop = doc.pageHeight - PrinterMargin, composerTop = titleTop, lowest = titleTop;
    std::vector<std::size_t> placed;
    std::vector<Box> boxes;
    for (const GmnText& h : headings) {
        const bool title = h.attributes.type < FirstMiscellaneous;
        auto& els = staff.elements;
        els.insert(els.begin(), MakeTextElement(f.left, 0, h.attributes, h.chars));
        const auto box = boxAt(staff, 0, 0);
        const int width = box ? box->right - box->left : 0;
        ElementRecord heading = std::move(els.front());
        els.erase(els.begin());
        heading.x = std::max(0, title ? (f.left + f.right) / 2 - width / 2 : f.right - width);
        // The element keeps the staff's order by x.
        const auto at = std::find_if(els.begin(), els.end(), [&](const ElementRecord& o) { return o.x > heading.x; });
        const int index = static_cast<int>(at - els.begin());
        for (std::size_t& k : placed)
            if (static_cast<int>(k) >= index) ++k;
        els.insert(at, std::move(heading));
        int& from = title ? titleTop : composerTop;
        int lower = from - boxAt(staff, index, 0)->top;
        // A composer line beside a long title goes under it.
        const auto crowded = [&](int edge) {
            const Box mine = *boxAt(staff, index, edge);
            return std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) { return BoxesOverlap(mine, b, -room); });
        };
        while (crowded(lower)) lower -= q;
        const Box b = *boxAt(staff, index, lower);
        boxes.push_back(b);
        placed.push_back(static_cast<std::size_t>(index));
        from = b.bottom - q;
        lowest = std::min(lowest, b.bottom);
    }
    // The music moves down under the headings as far as the foot of the page lets it.
    const int space = this->space(staff);
    const int needed = musicTop + room - lowest;
    if (needed <= 0) return;
    const int spaces = std::min((needed + space - 1) / space, std::max(0, (musicBottom - PrinterMargin) / space));
    staff.key().setDistance(staff.key().distance() + static_cast<unsigned>(spaces));
    for (std::size_t k : placed) staff.elements[k].param += spaces * 10;
}

// A text that would reach past the end of its line (a mark on its last note) is drawn back within it.
void PagePlacer::keepWithinLine(StaffRecord& staff) {
    const int right = frame(staff).right;
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!IsText(e)) continue;
        const int side = e.param;  // the side the text waits on: measuring moves it
        const auto b = boxAt(staff, i, 0);
        e.param = side;
        if (b && b->right > right) e.shift = static_cast<std::int8_t>(std::max(-127, e.shift - (b->right - right)));
    }
}

void PagePlacer::placeStaves() {
    for (StaffRecord& staff : page.staves) keepWithinLine(staff);
    // Staves drawn at one height share their lyric lines: the verses stack under them.
    std::map<int, int> versesAtHeight;
    std::map<int, int> lyricLineOfStaff;
    for (StaffRecord& staff : page.staves) {
        std::vector<int> lyrics;
        for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i)
            if (IsLyric(staff.elements[static_cast<std::size_t>(i)])) lyrics.push_back(i);
        if (lyrics.empty()) continue;
        const int height = static_cast<int>(frame(staff).referenceY);
        ++versesAtHeight[height];
        separateSyllables(staff, lyrics);
        const int lower = findLine(staff, lyrics, -1, belowLimit(staff));
        settle(staff, lyrics, lower);
        lyricLineOfStaff[static_cast<int>(staff.key().index())] = lower;
    }
    for (StaffRecord& staff : page.staves) {
        const int height = static_cast<int>(frame(staff).referenceY);
        const bool withLyrics = versesAtHeight.contains(height);
        const auto verse = lyricLineOfStaff.find(static_cast<int>(staff.key().index()));
        std::vector<int> moved;  // the labels moved left, put in order once the staff is done
        for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
            ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
            if (!IsText(e) || IsLyric(e) || IsInstrumentName(e)) continue;
            const TextAttributes a = TextAttributesOf(e);
            bool above = e.param > 0;
            if (a.category == TextCategory::Dynamics && withLyrics) above = true;
            const int one[] = {i};
            if (!above && verse != lyricLineOfStaff.end() && a.category == TextCategory::Miscellaneous) {
                // A label of the verse: on its line, ending a space before the first syllable at or after it.
                const auto b = boxAt(staff, i, verse->second);
                int firstSyllable = b ? b->right : e.x;
                // The syllable of the label's note stands in front of the note, the label after it.
                for (int k = 0; k < static_cast<int>(staff.elements.size()); ++k) {
                    const ElementRecord& syllable = staff.elements[static_cast<std::size_t>(k)];
                    if (!IsLyric(syllable) || syllable.x < e.x) continue;
                    if (auto s = boxAt(staff, k, verse->second)) firstSyllable = s->left;
                    break;
                }
                if (b) {
                    e.x = std::max(0, e.x - (b->right - firstSyllable) - space(staff));
                    moved.push_back(i);
                    if (auto placed = boxAt(staff, i, verse->second); placed && clear(*placed, 0)) {
                        ink.push_back(*placed);
                        continue;
                    }
                }
            }
            const int lower = above ? findLine(staff, one, 1, aboveLimit(staff))
                                    : findLine(staff, one, -1, belowLimit(staff));
            settle(staff, one, lower);
        }
        for (int i : moved) MoveInOrder(staff, i);
    }
}

// The layout aligns the notes of a system but leaves the signs where the spacing of their own staff put them: a
// syllable goes back to the note it was written in front of, another text to the note it was written after.
void FollowNotes(StaffRecord& staff) {
    auto& els = staff.elements;
    const int n = static_cast<int>(els.size());
    for (int i = 0; i < n; ++i) {
        ElementRecord& e = els[static_cast<std::size_t>(i)];
        if (!IsText(e)) continue;
        const int step = IsLyric(e) ? 1 : -1;
        for (int k = i + step; k >= 0 && k < n; k += step) {
            if (els[static_cast<std::size_t>(k)].isSign()) continue;
            e.x = els[static_cast<std::size_t>(k)].x;
            break;
        }
        // Signs written between (a clef, a key after the note) keep their place: the text stays between them.
        if (i > 0) e.x = std::max(e.x, els[static_cast<std::size_t>(i - 1)].x);
        if (i + 1 < n) e.x = std::min(e.x, els[static_cast<std::size_t>(i + 1)].x);
    }
}

}  // namespace

void PlaceImportedTexts(ScoreDocument& doc, const std::vector<GmnText>& headings) {
    const int current = doc.currentPage;
    for (int n = 1; n <= doc.pageCount; ++n) {
        PageRecord* page = doc.findPage(n);
        if (page == nullptr) continue;
        doc.currentPage = n;
        for (StaffRecord& staff : page->staves) FollowNotes(staff);
        PagePlacer placer{doc, *page, {}, {}};
        InkCanvas canvas(placer.dc.musicFont);
        placer.dc.canvas = &canvas;
        canvas.ignoreVerticalLinesLongerThan(5 * placer.dc.metrics.staffSpace[0]);
        PageDrawOptions options;
        options.drawElement = [](DrawingContext& dc, const StaffRecord& staff, int index) {
            if (!IsText(staff.elements[static_cast<std::size_t>(index)])) DrawElement(dc, staff, index);
        };
        DrawPage(placer.dc, doc, options);
        if (placer.dc.staves.empty()) continue;
        placer.ink = canvas.boxes();
        placer.placeInstrumentNames();
        // The staves' texts first: the headings then keep clear of them too.
        placer.placeStaves();
        if (n == 1) placer.placeHeadings(headings);
    }
    doc.currentPage = current;
}

}  // namespace notavera
