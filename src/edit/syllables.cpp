// Syllables of lyrics: note choice, clipboard layout and the shifting of a verse's chain.
#include "edit/syllables.h"

#include <algorithm>
#include <limits>


namespace notavera {

namespace {

// The word-end mark of a syllable laid out from the clipboard.
constexpr unsigned wordEndBit = 16;

bool TakesSyllable(const ElementRecord& e, const SyllableRules& rules) {
    if (!e.isNote()) return false;
    if (!rules.lyrics) return true;
    const auto w = e.w0();
    if (rules.syllablePerTiedGroup && w.tiedToNext() && !w.tieStarts()) return false;
    if (w.cueSize()) return false;
    if (rules.syllableOnMelisma && w.inBeam() && !w.opensBeam()) return false;
    return true;
}

// A place on the current page: staff and element.
struct Syllable {
    int staff = 0;
    int element = 0;
};

bool SameVerse(const ElementRecord& e, const TextAttributes& a) {
    return IsLyric(e) && TextAttributesOf(e).type == a.type && !IsHyphen(e);
}

// The syllables of the verse after the edited one, in staff order along its line of systems.
std::vector<Syllable> FollowingSyllables(const PageRecord& page, const TextPlace& from, const TextAttributes& a) {
    std::vector<Syllable> chain;
    std::optional<int> staff = from.staff;
    int after = from.element;
    while (staff) {
        const auto& els = page.staves[static_cast<std::size_t>(*staff)].elements;
        for (int i = after + 1; i < static_cast<int>(els.size()); ++i)
            if (SameVerse(els[static_cast<std::size_t>(i)], a)) chain.push_back({*staff, i});
        staff = NextStaffOfLine(page, *staff);
        after = -1;
    }
    return chain;
}

ElementRecord& ElementOf(PageRecord& page, const Syllable& s) {
    return page.staves[static_cast<std::size_t>(s.staff)].elements[static_cast<std::size_t>(s.element)];
}

// A syllable (or hyphen) made on `staff` of the current page at x, its lower edge at y.
void PlaceSyllable(ScoreDocument& doc, int staff, int x, int y, const TextAttributes& a, std::string_view text,
                   bool wordEnd) {
    const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, staff);
    if (!f) return;
    ElementRecord e = MakeTextElement(x, TextParamFor(y, f->staffTop, f->paramUnit), a, text);
    static_assert(wordEndBit == 16);
    e.signWord().setFlag16(wordEnd);
    InsertTextElement(doc, staff, std::move(e));
}

// The next free note after x on the staff, going on along the line of systems: its staff and x.
std::optional<std::pair<int, int>> NextFreeNote(const PageRecord& page, int staff, int x, const SyllableRules& r) {
    std::optional<int> s = staff;
    while (s) {
        const StaffRecord& st = page.staves[static_cast<std::size_t>(*s)];
        if (const auto i = NextSyllableNoteIndex(st, x, r)) return std::pair{*s, st.elements[static_cast<std::size_t>(*i)].x};
        s = NextStaffOfLine(page, *s);
        x = std::numeric_limits<int>::min();
    }
    return std::nullopt;
}

}  // namespace

SyllableRules SyllableRulesOf(const TextEditor& ed) {
    return {ed.current.category == TextCategory::Lyrics, ed.syllableOnMelisma, ed.syllablePerTiedGroup};
}

std::optional<int> NextSyllableNoteIndex(const StaffRecord& staff, int x, const SyllableRules& rules) {
    for (std::size_t i = 0; i < staff.elements.size(); ++i) {
        const ElementRecord& e = staff.elements[i];
        if (e.x > x && TakesSyllable(e, rules)) return static_cast<int>(i);
    }
    return std::nullopt;
}

int NextSyllableNote(const StaffRecord& staff, int x, const SyllableRules& rules, int staffEnd) {
    const std::optional<int> i = NextSyllableNoteIndex(staff, x, rules);
    return i ? staff.elements[static_cast<std::size_t>(*i)].x : staffEnd;
}

int PreviousNote(const StaffRecord& staff, int x) {
    int best = x;
    bool found = false;
    for (const ElementRecord& e : staff.elements) {
        if (!e.isNote() || e.x >= x) continue;
        if (!found || e.x > best) best = e.x;
        found = true;
    }
    return best;
}

std::vector<ClipboardSyllable> SplitSyllables(std::string_view text) {
    std::vector<ClipboardSyllable> out;
    ClipboardSyllable piece;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '\0';
        const bool lineFeedEnd = c == '\n' && (i == 0 || text[i - 1] != '\r');
        if (c == '\n' && !lineFeedEnd) continue;
        if (c != '_' && c != '\t' && c != '\r' && c != '\0' && !lineFeedEnd) {
            piece.text += c;
            continue;
        }
        piece.separator = lineFeedEnd ? '\r' : c;
        if (!piece.text.empty()) out.push_back(piece);
        else if (!out.empty() && piece.separator != '_' && piece.separator != '\0') out.back().separator = piece.separator;
        piece = {};
    }
    return out;
}

std::optional<int> NextStaffOfLine(const PageRecord& page, int staff) {
    if (staff < 0 || staff >= static_cast<int>(page.staves.size())) return std::nullopt;
    const int group = std::max(1, static_cast<int>(page.staves[static_cast<std::size_t>(staff)].voice().groupSize()));
    const int next = staff + group;
    if (next >= static_cast<int>(page.staves.size())) return std::nullopt;
    return next;
}

int InsertSyllables(TextEditor& ed, ScoreDocument& doc, const std::vector<ClipboardSyllable>& syllables,
                    const std::function<bool()>& nextPage) {
    const SyllableRules rules = SyllableRulesOf(ed);
    std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, doc.currentStaff);
    if (!f) return 0;
    int staff = doc.currentStaff;
    int x = ed.x;
    const int below = ed.y - static_cast<int>(f->staffTop);  // the verse's line, kept on every staff
    int previousEnd = x + std::max(doc.spacingStep, 1);
    char previousSeparator = '\t';
    int placed = 0;
    const int step = std::max(doc.spacingStep, 1);
    for (const ClipboardSyllable& s : syllables) {
        std::optional<int> note;
        for (;;) {
            const StaffRecord& st = doc.page()->staves[static_cast<std::size_t>(staff)];
            note = NextSyllableNoteIndex(st, x, rules);
            if (note) break;
            if (previousSeparator == '_' && f->lineEnd - previousEnd > step) {
                PlaceSyllable(doc, staff, (previousEnd + f->lineEnd) / 2, static_cast<int>(f->staffTop) + below,
                              ed.current, "-", false);
                previousSeparator = '\t';
            }
            if (const std::optional<int> next = NextStaffOfLine(*doc.page(), staff)) {
                staff = *next;
            } else if (!nextPage() || staff >= static_cast<int>(doc.page()->staves.size())) {
                return placed;
            }
            f = TextStaffFrameOf(doc, staff);
            if (!f) return placed;
            const auto& els = doc.page()->staves[static_cast<std::size_t>(staff)].elements;
            x = els.empty() ? f->left : els.front().x;
            previousEnd = x;
        }
        const int noteX = doc.page()->staves[static_cast<std::size_t>(staff)].elements[static_cast<std::size_t>(*note)].x;
        const int width = MeasureTextWidth(doc.fonts, ed.current, s.text);
        const int left = TextLeftOf(ed.current, noteX, width);
        const int y = static_cast<int>(f->staffTop) + below;
        if (previousSeparator == '_' && left > previousEnd)
            PlaceSyllable(doc, staff, (previousEnd + left) / 2, y, ed.current, "-", false);
        PlaceSyllable(doc, staff, noteX, y, ed.current, s.text, s.separator == '\t' || s.separator == '\r');
        ++placed;
        previousEnd = left + width;
        previousSeparator = s.separator;
        x = noteX;
    }
    doc.markModified();
    return placed;
}

bool ShiftSyllablesForward(TextEditor& ed, ScoreDocument& doc) {
    if (!ed.editing || ed.current.category != TextCategory::Lyrics || ed.insertion >= ed.buffer.size()) return false;
    PageRecord* page = doc.findPage(ed.edited.page);
    if (page == nullptr) return false;
    const TextPlace from = ed.edited;
    const std::vector<Syllable> chain = FollowingSyllables(*page, from, ed.current);
    std::string carried = ed.buffer.substr(ed.insertion);
    for (const Syllable& s : chain) {
        ElementRecord& e = ElementOf(*page, s);
        std::string own = TextCharacters(e);
        SetTextCharacters(e, carried);
        carried = std::move(own);
    }
    const Syllable last = chain.empty() ? Syllable{from.staff, from.element} : chain.back();
    const int lastX = ElementOf(*page, last).x;
    const int y = ed.y;
    const std::optional<TextStaffFrame> editedFrame = TextStaffFrameOf(doc, from.staff);
    const int below = editedFrame ? y - static_cast<int>(editedFrame->staffTop) : 0;
    if (const auto note = NextFreeNote(*page, last.staff, lastX, SyllableRulesOf(ed))) {
        const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, note->first);
        if (f) PlaceSyllable(doc, note->first, note->second, static_cast<int>(f->staffTop) + below, ed.current, carried,
                             false);
    }
    auto& els = page->staves[static_cast<std::size_t>(from.staff)].elements;
    if (ed.insertion == 0) {
        els.erase(els.begin() + from.element);
    } else {
        ed.buffer.resize(ed.insertion);
        ElementRecord& e = els[static_cast<std::size_t>(from.element)];
        SetTextCharacters(e, ed.buffer);
    }
    StopEditing(ed);
    doc.currentStaff = from.staff;
    doc.currentElement = std::min(from.element, static_cast<int>(els.size()) - 1);
    doc.markModified();
    return true;
}

bool RemoveSyllable(TextEditor& ed, ScoreDocument& doc) {
    if (!ed.editing || ed.current.category != TextCategory::Lyrics) return false;
    PageRecord* page = doc.findPage(ed.edited.page);
    if (page == nullptr) return false;
    const TextPlace from = ed.edited;
    std::vector<Syllable> chain{{from.staff, from.element}};
    for (const Syllable& s : FollowingSyllables(*page, from, ed.current)) chain.push_back(s);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        SetTextCharacters(ElementOf(*page, chain[i]), TextCharacters(ElementOf(*page, chain[i + 1])));
    const Syllable gone = chain.back();
    auto& els = page->staves[static_cast<std::size_t>(gone.staff)].elements;
    els.erase(els.begin() + gone.element);
    StopEditing(ed);
    doc.currentStaff = from.staff;
    doc.currentElement = std::min(from.element, static_cast<int>(page->staves[static_cast<std::size_t>(from.staff)].elements.size()) - 1);
    doc.markModified();
    return true;
}

}  // namespace notavera
