// Extracting a separate part: the voice's staves copied line for line onto the part's pages, then each page
// condensed, laid out and numbered as a whole.
#include "edit/separate_part.h"

#include <algorithm>

#include "edit/bar_numbers.h"
#include "edit/measure_count.h"
#include "render/page_layout.h"
#include "render/page_staves.h"
#include "score/mus_file.h"
#include "score/new_document.h"
#include "score/page_append.h"
#include "score/text_records.h"

namespace notavera {

namespace {

constexpr unsigned plainBar = '|';
constexpr int lastBraceCode = 63;
constexpr int countSizeInSpaces = 8;  // the figures of the music font are two spaces high at this size

bool IsBrace(const ElementRecord& e) {
    return e.isSignOfType(SignType::Bar) && e.signWord().code() >= 1 && e.signWord().code() <= lastBraceCode;
}

bool ClosesBar(const ElementRecord& e) {
    return (e.isSignOfType(SignType::Bar) && e.signWord().code() == plainBar) || e.isSignOfType(SignType::TimeSignature);
}

bool IsLineStartSign(const ElementRecord& e) {
    return e.isSignOfType(SignType::Clef) || e.isSignOfType(SignType::KeyChange) ||
           e.isSignOfType(SignType::TimeSignature);
}

// A bar of one staff: its elements [first, close), closed by the bar line or time signature at `close`.
struct Bar {
    std::size_t first;
    std::size_t close;
    std::size_t rest;  // the one rest of an empty bar
    bool empty;
};

// The bars of the staff that a plain bar line or a time signature closes, in order.
std::vector<Bar> BarsOf(const std::vector<ElementRecord>& els) {
    std::vector<Bar> bars;
    std::size_t first = 0;
    for (std::size_t i = 0; i < els.size(); ++i) {
        if (els[i].isSignOfType(SignType::Bar) && !ClosesBar(els[i])) {
            first = i + 1;  // another bar line (double, repeat, final) closes a bar that is never condensed
            continue;
        }
        if (!ClosesBar(els[i])) continue;
        Bar bar{first, i, 0, false};
        int rests = 0;
        bool other = false;
        for (std::size_t j = first; j < i; ++j) {
            if (els[j].isRest() && els[j].noteWord().durationCode() != NoteWordView<const std::uint32_t>::multiBarRestCode) {
                ++rests;
                bar.rest = j;
            } else if (!(bars.empty() && rests == 0 && IsLineStartSign(els[j])) && !IsMeasureNumberText(els[j])) {
                other = true;
            }
        }
        bar.empty = rests == 1 && !other;
        bars.push_back(bar);
        first = i + 1;
    }
    return bars;
}

ElementRecord CountText(int x, int count, const StaffMetrics& metrics, bool smallStaff, int fontIndex) {
    const int size = smallStaff ? 1 : 0;
    TextAttributes a;
    a.category = TextCategory::Marks;
    a.type = MultiBarRestMark;
    a.orientation = TextOrientation::Horizontal;
    a.fontIndex = fontIndex;
    a.size = countSizeInSpaces * metrics.staffSpace[size];
    const int param = TextParamFor(metrics.staffSpace[size], 0, metrics.staffSpace[size]);
    return MakeTextElement(x, param, a, std::to_string(count));
}

// The voice's staff copied onto a staff of the part: the part's staff keeps its layout words, takes the voice,
// the key and the elements. A note drawn at a neighbouring staff's place stays on its own: the neighbour is not
// in the part. Braces join staves the part does not have.
void CopyStaff(const StaffRecord& from, StaffRecord& to, unsigned voice) {
    to.voice().setVoice(voice);
    constexpr std::uint32_t keyBits = 0x3Fu << 8;  // key kind, count and the old notation
    to.keyWord = (to.keyWord & ~keyBits) | (from.keyWord & keyBits);
    to.elements.clear();
    for (const ElementRecord& e : from.elements) {
        if (IsBrace(e)) continue;
        to.elements.push_back(e);
        to.elements.back().w0().setCrossStaff(0);
    }
}

bool OneStaffSystems(const PageRecord& page) {
    return std::all_of(page.staves.begin(), page.staves.end(),
                       [](const StaffRecord& s) { return s.voice().groupSize() <= 1; });
}

// A part's line often opens with rests, condensed or not: its number stands over the line's opening clef, where
// it meets neither a rest's bar count nor the first note.
void NumberAtLineStart(StaffRecord& staff, int font) {
    auto& els = staff.elements;
    const auto number = std::find_if(els.begin(), els.end(), IsMeasureNumberText);
    if (number == els.end()) return;
    ElementRecord text = *number;
    text.signWord().setHigh7(static_cast<unsigned>(font));
    els.erase(number);
    text.x = els.empty() ? text.x : els.front().x;
    els.insert(els.begin(), std::move(text));
}

}  // namespace

int CondenseWholeBarRests(StaffRecord& staff, const StaffMetrics& metrics, int fontIndex) {
    auto& els = staff.elements;
    const std::vector<Bar> bars = BarsOf(els);
    // The runs as [first, end) bar indices: consecutive empty bars, each before the last closed by a plain bar
    // line; a time signature ends its run.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < bars.size();) {
        if (!bars[i].empty) {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        while (j < bars.size() && bars[j].empty && bars[j].first == bars[j - 1].close + 1 &&
               els[bars[j - 1].close].isSignOfType(SignType::Bar))
            ++j;
        if (j - i >= 2) runs.emplace_back(i, j);
        i = j;
    }
    // From the last run backwards, so that the places of the runs before stay valid.
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const Bar& head = bars[run->first];
        ElementRecord& rest = els[head.rest];
        rest.noteWord().setDurationCode(NoteWordView<const std::uint32_t>::multiBarRestCode);
        rest.noteWord().setDots(0);
        const int x = rest.x - metrics.halfSpace[staff.key().small() ? 1 : 0];
        const auto count = static_cast<int>(run->second - run->first);
        els.erase(els.begin() + static_cast<std::ptrdiff_t>(head.close),
                  els.begin() + static_cast<std::ptrdiff_t>(bars[run->second - 1].close));
        els.insert(els.begin() + static_cast<std::ptrdiff_t>(head.rest),
                   CountText(x, count, metrics, staff.key().small(), fontIndex));
    }
    return static_cast<int>(runs.size());
}

int BuildSeparatePart(const ScoreDocument& doc, UiServices& ui, const PartRequest& request,
                      const SignDistances& distances, ScoreDocument& part) {
    SetUpNewDocument(part, 1);
    // A new file: its pages start right after the fixed blocks, whatever header the settings came from.
    part.header.setEndOfData(firstPageOffset);
    const int numberFont = part.fonts.addFont(partBarNumberFont, 0).value_or(TimesFontIndex);
    const auto voice = static_cast<unsigned>(request.voice);
    int copied = 0;
    std::size_t next = 0;  // the next staff of the part's last page
    for (int n = request.firstPage; n <= request.lastPage; ++n) {
        const PageView page = ViewPage(doc, ui, n);
        if (!page) continue;
        for (const StaffRecord& staff : page->staves) {
            if (staff.voice().voice() != voice) continue;
            if (next == part.pages.back().staves.size()) {
                if (!PageAfter(part, ui, part.pageCount)) return copied;
                next = 0;
            }
            CopyStaff(staff, part.pages.back().staves[next++], voice);
            ++copied;
        }
    }
    // The last page keeps only the staves that received music.
    if (copied > 0) part.pages.back().staves.resize(next);
    part.pages.back().layoutWord().setStaffCount(static_cast<unsigned>(part.pages.back().staves.size()));

    MeasureNumbering numbering;
    for (int n = 1; n <= part.pageCount; ++n) {
        PageRecord* page = part.findPage(n);
        if (!page) break;
        const StaffMetrics metrics = MetricsOfPage(part, *page);
        if (request.mode == PartMode::Standard && OneStaffSystems(*page))
            for (StaffRecord& staff : page->staves) CondenseWholeBarRests(staff, metrics, MusicFontIndex);
        if (request.mode != PartMode::Raw) {
            part.currentPage = n;
            part.currentStaff = 0;
            part.currentElement = -1;
            // Each line keeps the bars of the score's line: stretched or narrowed to the part's line length, it
            // never pushes music onto the lines and pages of the music that follows.
            LayOutPage(part, ui, distances, PageLayoutMode::JustifyPage);
            page = part.findPage(n);
        }
        NumberMeasuresOfPage(*page, metrics, numbering, false);
        for (StaffRecord& staff : page->staves) NumberAtLineStart(staff, numberFont);
    }
    part.currentPage = 1;
    part.currentStaff = 0;
    part.currentElement = -1;
    part.header.blockFlags() = 0;
    return copied;
}

}  // namespace notavera
