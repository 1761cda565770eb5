// The text editor's state changes and its commits to the score.
#include "edit/text_editor.h"

#include <algorithm>
#include <cctype>

#include "render/page_staves.h"
#include "render/staff_metrics.h"

namespace notavera {

namespace {

// Lyrics stand three staff spaces under the bottom line, each further verse two and a half spaces lower; other
// texts start a staff space and a half above the top line.
constexpr int firstVerseUnits = 6;
constexpr int verseUnits = 5;
constexpr int aboveUnits = 3;

bool SameKind(const ElementRecord& e, TextCategory category, unsigned type) {
    if (!IsText(e)) return false;
    const TextAttributes a = TextAttributesOf(e);
    return a.category == category && a.type == type;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char p, char q) {
               return std::tolower(static_cast<unsigned char>(p)) == std::tolower(static_cast<unsigned char>(q));
           });
}

}  // namespace

std::optional<TextStaffFrame> TextStaffFrameOf(const ScoreDocument& doc, int staff) {
    const std::optional<PlacedStaff> placed = PlaceStaffOfCurrentPage(doc, staff);
    if (!placed) return std::nullopt;
    const StaffDrawState& s = placed->state;
    const StaffMetrics& m = placed->metrics;
    const std::size_t size = s.small ? 1 : 0;
    TextStaffFrame f;
    f.staffTop = s.topLine;
    f.paramUnit = m.staffSpace[size];
    f.unit = m.halfSpace[size];
    f.topLine = s.topLine;
    f.bottomLine = s.topLine - m.staffSpace[size] * std::max(s.lines - 1, 0);
    f.left = s.left + m.stepUnit3;
    f.lineEnd = s.right;
    f.stepUnit = m.stepUnit;
    return f;
}

int DefaultTextY(const TextStaffFrame& f, const TextAttributes& a) {
    if (a.category != TextCategory::Lyrics) return f.topLine + aboveUnits * f.unit;
    return f.bottomLine - (firstVerseUnits + verseUnits * static_cast<int>(a.type)) * f.unit;
}

void ChooseTextKind(TextEditor& ed, TextCategory category, unsigned type, int unit, int secondUnit) {
    TextAttributes& a = ed.current;
    a.category = category;
    a.type = type % textTypeCount;
    const bool marks = category == TextCategory::Marks;
    if (category == TextCategory::Dynamics || category == TextCategory::SymbolsOrnaments ||
        (marks && type == MultiBarRestMark)) {
        a.fontIndex = MusicFontIndex;
        a.size = 8 * unit;
    } else if (marks && type == FiguresMark) {
        a.fontIndex = FiguresFontIndex;
        a.size = 2 * unit;
        ed.pendingOrientation = TextOrientation::Vertical;
    } else if (marks && type == MeasureNumberMark) {
        a.fontIndex = TimesFontIndex;
        a.size = 5 * secondUnit;
        ed.pendingStyle = TextStyle::Italic;
    } else {
        if (a.fontIndex == MusicFontIndex || a.fontIndex == FiguresFontIndex) a.fontIndex = TimesFontIndex;
        a.size = 3 * unit;
    }
    a.size = std::clamp(a.size, MinTextSize, MaxTextSize);
}

bool TypeTextCharacter(TextEditor& ed, char character) {
    if (ed.buffer.size() >= textBufferCapacity) return false;
    if (!ed.active()) {
        ed.typing = true;
        ed.buffer.clear();
        ed.insertion = 0;
    }
    ed.buffer.insert(ed.insertion, 1, character);
    ++ed.insertion;
    return true;
}

bool InsertTextString(TextEditor& ed, std::string_view characters) {
    const std::size_t held = ed.active() ? ed.buffer.size() : 0;
    if (characters.empty() || held + characters.size() > textBufferCapacity) return false;
    if (!ed.active()) {
        ed.typing = true;
        ed.buffer.clear();
        ed.insertion = 0;
    }
    ed.buffer.insert(ed.insertion, characters);
    ed.insertion += characters.size();
    return true;
}

void DeleteTextCharacter(TextEditor& ed) {
    if (ed.active() && ed.insertion < ed.buffer.size()) ed.buffer.erase(ed.insertion, 1);
}

int InsertTextElement(ScoreDocument& doc, int staff, ElementRecord e) {
    auto& els = doc.page()->staves[static_cast<std::size_t>(staff)].elements;
    const auto at = std::find_if(els.begin(), els.end(), [x = e.x](const ElementRecord& other) { return other.x > x; });
    const auto index = static_cast<int>(at - els.begin());
    els.insert(at, std::move(e));
    doc.currentStaff = staff;
    doc.currentElement = index;
    doc.markModified();
    return index;
}

bool CommitText(TextEditor& ed, ScoreDocument& doc) {
    bool changed = false;
    if (ed.editing) {
        PageRecord* page = doc.findPage(ed.edited.page);
        const auto s = static_cast<std::size_t>(ed.edited.staff);
        if (page != nullptr && s < page->staves.size() && ed.edited.element >= 0 &&
            ed.edited.element < static_cast<int>(page->staves[s].elements.size())) {
            auto& elements = page->staves[s].elements;
            ElementRecord& e = elements[static_cast<std::size_t>(ed.edited.element)];
            const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, ed.edited.staff);
            if (ed.buffer.empty()) {
                elements.erase(elements.begin() + ed.edited.element);
                if (doc.currentStaff == ed.edited.staff && doc.currentElement >= ed.edited.element)
                    doc.currentElement = std::max(doc.currentElement - 1, static_cast<int>(elements.empty()) - 1);
            } else {
                SetTextAttributes(e, ed.current);
                if (f) e.param = TextParamFor(ed.y, f->staffTop, f->paramUnit);
                if (ed.buffer != ed.loaded) SetTextCharacters(e, ed.buffer);
            }
            changed = true;
        }
    } else if (ed.typing && !ed.buffer.empty()) {
        const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, doc.currentStaff);
        if (f) {
            const ElementRecord e =
                MakeTextElement(ed.x, TextParamFor(ed.y, f->staffTop, f->paramUnit), ed.current, ed.buffer);
            InsertTextElement(doc, doc.currentStaff, e);
            changed = true;
        }
    }
    StopEditing(ed);
    if (changed) doc.markModified();
    return changed;
}

void StopEditing(TextEditor& ed) {
    ed.buffer.clear();
    ed.loaded.clear();
    ed.insertion = 0;
    ed.typing = false;
    ed.editing = false;
    ed.edited = {};
}

void EditTextElement(TextEditor& ed, const ScoreDocument& doc, int staff, int element) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (page == nullptr || staff < 0 || staff >= static_cast<int>(page->staves.size())) return;
    const auto& elements = page->staves[static_cast<std::size_t>(staff)].elements;
    if (element < 0 || element >= static_cast<int>(elements.size())) return;
    const ElementRecord& e = elements[static_cast<std::size_t>(element)];
    if (!IsText(e)) return;
    ed.current = TextAttributesOf(e);
    ed.pendingStyle = ed.current.style;
    ed.pendingOrientation = ed.current.orientation;
    ed.buffer = TextCharacters(e);
    ed.loaded = ed.buffer;
    ed.insertion = ed.buffer.size();
    ed.x = e.x;
    if (const std::optional<TextStaffFrame> f = TextStaffFrameOf(doc, staff))
        ed.y = static_cast<int>(TextLowerEdge(f->staffTop, e.param, f->paramUnit));
    ed.edited = {doc.currentPage, staff, element};
    ed.editing = true;
    ed.typing = false;
}

std::optional<int> NeighbourTextElement(const StaffRecord& staff, int x, bool forward, int skipIndex) {
    const int n = static_cast<int>(staff.elements.size());
    if (forward) {
        for (int i = 0; i < n; ++i) {
            const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
            if (IsText(e) && i != skipIndex && (e.x > x || (e.x == x && i > skipIndex && skipIndex >= 0))) return i;
        }
        return std::nullopt;
    }
    for (int i = n - 1; i >= 0; --i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (IsText(e) && i != skipIndex && (e.x < x || (e.x == x && (skipIndex < 0 || i < skipIndex)))) return i;
    }
    return std::nullopt;
}

std::optional<int> TextElementAt(const StaffRecord& staff, int x, const TextAttributes& a) {
    for (std::size_t i = 0; i < staff.elements.size(); ++i) {
        const ElementRecord& e = staff.elements[i];
        if (e.x == x && SameKind(e, a.category, a.type)) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> FindOrAddFont(TextEditor& ed, FontBlock& fonts, const std::string& face, std::uint8_t charSet) {
    for (int i = 0; i < static_cast<int>(FontBlock::entryCount); ++i)
        if (!fonts.isFree(i) && EqualNoCase(fonts.faceName(i), face)) return i;
    for (int i = 0; i < static_cast<int>(FontBlock::entryCount); ++i) {
        if (!fonts.isFree(i)) continue;
        fonts.setEntry(i, face, charSet);
        ed.addedFonts |= 1u << i;
        return i;
    }
    return std::nullopt;
}

void FreeAddedFonts(TextEditor& ed, FontBlock& fonts, const std::function<bool(int)>& used) {
    for (int i = firstFreeableFont; i < static_cast<int>(FontBlock::entryCount); ++i)
        if ((ed.addedFonts & (1u << i)) != 0 && !used(i)) fonts.setEntry(i, "", 0);
    ed.addedFonts = 0;
}

void MarkFontsOfPage(const PageRecord& page, std::uint32_t& used) {
    for (const StaffRecord& s : page.staves)
        for (const ElementRecord& e : s.elements)
            if (IsText(e)) used |= 1u << (TextAttributesOf(e).fontIndex & 31);
}

int UnifyTexts(PageRecord& page, const TextAttributes& ref, int param) {
    int count = 0;
    const bool lyrics = ref.category == TextCategory::Lyrics;
    const bool keepStyle = lyrics && ref.type >= 3;
    const bool marks = ref.category == TextCategory::Marks;
    for (StaffRecord& s : page.staves) {
        for (ElementRecord& e : s.elements) {
            if (!SameKind(e, ref.category, ref.type)) continue;
            TextAttributes a = TextAttributesOf(e);
            a.size = ref.size;
            a.fontIndex = ref.fontIndex;
            if (!keepStyle) a.style = ref.style;
            if (marks && ref.type == FiguresMark) a.orientation = ref.orientation;
            if (lyrics || (marks && ref.type == MeasureNumberMark)) e.param = param;
            SetTextAttributes(e, a);
            ++count;
        }
    }
    return count;
}

int ChangeTextCategory(PageRecord& page, TextCategory from, unsigned fromType, TextCategory to, unsigned toType) {
    int count = 0;
    for (StaffRecord& s : page.staves) {
        for (ElementRecord& e : s.elements) {
            if (!SameKind(e, from, fromType)) continue;
            TextAttributes a = TextAttributesOf(e);
            a.category = to;
            a.type = toType % textTypeCount;
            SetTextAttributes(e, a);
            ++count;
        }
    }
    return count;
}

}  // namespace notavera
