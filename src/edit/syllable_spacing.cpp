// Spacing notes for their syllables and centring hyphens.
#include "edit/syllable_spacing.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "edit/text_editor.h"
#include "render/document_spacing.h"
#include "render/recalculate_distances.h"

namespace notavera {

namespace {

struct Extent {
    int left = 0;
    int right = 0;
};

Extent ExtentOf(const FontBlock& fonts, const ElementRecord& e) {
    const TextAttributes a = TextAttributesOf(e);
    const int width = MeasureTextWidth(fonts, a, TextCharacters(e));
    const int left = TextLeftOf(a, e.x, width);
    return {left, left + width};
}

bool IsSyllable(const ElementRecord& e) { return IsLyric(e) && !IsHyphen(e); }

bool IsBarLine(const ElementRecord& e) { return e.isSignOfType(SignType::Bar) && !e.w0().hidden(); }

// The staves of the current staff's block: from its group's first staff, as many as the group holds.
std::pair<int, int> BlockOf(const PageRecord& page, int staff) {
    const auto& voice = page.staves[static_cast<std::size_t>(staff)].voice();
    const int size = static_cast<int>(voice.groupSize());
    const int position = static_cast<int>(voice.positionInGroup());
    if (size <= 1 || position < 1 || position > size) return {staff, staff};
    const int first = std::max(staff - (position - 1), 0);
    const int last = std::min(first + size - 1, static_cast<int>(page.staves.size()) - 1);
    return {first, last};
}

void ShiftFrom(StaffRecord& staff, int x, int by) {
    for (ElementRecord& e : staff.elements)
        if (e.x >= x) e.x += by;
}

int CentreHyphensOfStaff(const FontBlock& fonts, StaffRecord& staff, int lineEnd) {
    int moved = 0;
    auto& els = staff.elements;
    for (std::size_t i = 0; i < els.size(); ++i) {
        if (!IsHyphen(els[i])) continue;
        const unsigned verse = TextAttributesOf(els[i]).type;
        std::optional<Extent> before, after;
        for (std::size_t j = i; j-- > 0;)
            if (IsSyllable(els[j]) && TextAttributesOf(els[j]).type == verse) {
                before = ExtentOf(fonts, els[j]);
                break;
            }
        for (std::size_t j = i + 1; j < els.size(); ++j)
            if (IsSyllable(els[j]) && TextAttributesOf(els[j]).type == verse) {
                after = ExtentOf(fonts, els[j]);
                break;
            }
        if (!before) continue;
        const int x = (before->right + (after ? after->left : lineEnd)) / 2;
        if (x == els[i].x) continue;
        ElementRecord hyphen = els[i];
        hyphen.x = x;
        els.erase(els.begin() + static_cast<std::ptrdiff_t>(i));
        // Its place in the staff's order: after everything at or left of its new x.
        const auto at = std::find_if(els.begin(), els.end(), [x](const ElementRecord& e) { return e.x > x; });
        const auto placed = els.insert(at, hyphen);
        ++moved;
        // An element moved leftwards is met again only if it now stands after i; it never moves twice.
        if (static_cast<std::size_t>(placed - els.begin()) > i) --i;
    }
    return moved;
}

}  // namespace

int SpaceSyllablesOfLine(ScoreDocument& doc) {
    PageRecord* page = doc.page();
    if (page == nullptr || doc.currentStaff < 0 || doc.currentStaff >= static_cast<int>(page->staves.size())) return 0;
    const auto [first, last] = BlockOf(*page, doc.currentStaff);
    const std::optional<TextStaffFrame> frame = TextStaffFrameOf(doc, doc.currentStaff);
    const int unit = frame ? frame->stepUnit : 10;
    const auto staffAt = [&](int s) -> const StaffRecord& { return page->staves[static_cast<std::size_t>(s)]; };
    // The staves drawn at one height share their bar lines, which cross the lyrics under them.
    std::map<int, int> heightOf;
    for (int s = first; s <= last; ++s)
        heightOf[s] = s > first && staffAt(s).key().distance() == 0 ? heightOf[s - 1] : s;
    int moves = 0;
    // The columns of syllables and bar lines from left to right; after each move the columns right of it are read
    // again.
    int from = std::numeric_limits<int>::min();
    std::map<std::pair<int, unsigned>, int> lastRight;  // (staff, verse) → right end of its previous syllable
    std::map<std::pair<int, unsigned>, bool> hyphenPending;
    std::map<int, int> lastBar;  // height → the bar line its syllables have passed
    for (;;) {
        std::optional<int> column;
        bool syllablesAhead = false;
        for (int s = first; s <= last; ++s)
            for (const ElementRecord& e : staffAt(s).elements) {
                if (e.x <= from || !(IsSyllable(e) || IsBarLine(e))) continue;
                syllablesAhead = syllablesAhead || IsSyllable(e);
                if (!column || e.x < *column) column = e.x;
            }
        if (!column) break;
        int need = 0;
        for (int s = first; s <= last; ++s) {
            for (const ElementRecord& e : staffAt(s).elements) {
                if (e.x != *column) continue;
                if (IsBarLine(e)) {
                    for (const auto& [key, right] : lastRight)
                        if (heightOf[key.first] == heightOf[s]) need = std::max(need, right + unit - e.x);
                    continue;
                }
                if (!IsSyllable(e)) continue;
                const int left = ExtentOf(doc.fonts, e).left;
                if (const auto bar = lastBar.find(heightOf[s]); bar != lastBar.end())
                    need = std::max(need, bar->second + unit - left);
                const auto key = std::pair{s, TextAttributesOf(e).type};
                const auto previous = lastRight.find(key);
                if (previous == lastRight.end()) continue;
                const int hyphenRoom = hyphenPending[key] ? MeasureTextWidth(doc.fonts, TextAttributesOf(e), "-") + unit : 0;
                need = std::max(need, previous->second + unit + hyphenRoom - left);
            }
        }
        if (need > 0) {
            for (int s = first; s <= last; ++s) ShiftFrom(page->staves[static_cast<std::size_t>(s)], *column, need);
            *column += need;
            ++moves;
        }
        int reach = std::numeric_limits<int>::min();
        for (int s = first; s <= last; ++s) {
            const auto& els = staffAt(s).elements;
            for (std::size_t i = 0; i < els.size(); ++i) {
                if (els[i].x != *column) continue;
                if (IsBarLine(els[i])) lastBar[heightOf[s]] = *column;
                if (!IsSyllable(els[i])) continue;
                const auto key = std::pair{s, TextAttributesOf(els[i]).type};
                lastRight[key] = ExtentOf(doc.fonts, els[i]).right;
                hyphenPending[key] = false;
                for (std::size_t j = i + 1; j < els.size(); ++j) {
                    if (!IsLyric(els[j]) || TextAttributesOf(els[j]).type != key.second) continue;
                    if (IsHyphen(els[j])) hyphenPending[key] = true;
                    else break;
                }
            }
        }
        for (const auto& [key, right] : lastRight) reach = std::max(reach, right + unit);
        from = *column;
        // Past the last syllable and the room it needs, the bar lines have nothing more to keep clear of.
        if (!syllablesAhead && from >= reach) break;
    }
    for (int s = first; s <= last; ++s)
        CentreHyphensOfStaff(doc.fonts, page->staves[static_cast<std::size_t>(s)], frame ? frame->lineEnd : doc.pageWidth);
    if (moves > 0) doc.markModified();
    return moves;
}

int GiveSyllablesRoomOnPage(ScoreDocument& doc) {
    PageRecord* page = doc.page();
    if (page == nullptr) return 0;
    const auto lastX = [page](const LineRange& line) {
        int x = std::numeric_limits<int>::min();
        for (const StaffRecord* staff : StavesOf(*page, line))
            for (const ElementRecord& e : staff->elements) x = std::max(x, e.x);
        return x;
    };
    int moved = 0;
    for (const LineRange& line : LinesOfPage(*page)) {
        const auto staves = StavesOf(*page, line);
        if (std::none_of(staves.begin(), staves.end(), [](const StaffRecord* staff) {
                return std::any_of(staff->elements.begin(), staff->elements.end(), IsSyllable);
            }))
            continue;
        const int before = lastX(line);
        doc.currentStaff = line.first;
        if (SpaceSyllablesOfLine(doc) == 0) continue;
        ++moved;
        const std::optional<TextStaffFrame> frame = TextStaffFrameOf(doc, line.first);
        // A justified line ends where it ended; a shorter one may grow up to the line's end.
        const int end = std::max(before, frame ? std::min(lastX(line), frame->lineEnd) : before);
        if (lastX(line) > end) JustifyBlockToX(*page, line, end);
    }
    return moved;
}

int CentreHyphensOfPage(ScoreDocument& doc) {
    PageRecord* page = doc.page();
    if (page == nullptr) return 0;
    int moved = 0;
    for (int s = 0; s < static_cast<int>(page->staves.size()); ++s) {
        const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, s);
        moved += CentreHyphensOfStaff(doc.fonts, page->staves[static_cast<std::size_t>(s)], f ? f->lineEnd : doc.pageWidth);
    }
    if (moved > 0) doc.markModified();
    return moved;
}

}  // namespace notavera
