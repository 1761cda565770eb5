// The page layout passes over the lines of the current page.
#include "render/page_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "render/line_breaks.h"
#include "render/line_respacing.h"
#include "render/line_start_signs.h"
#include "score/score_document.h"

namespace notavera {

namespace {

// The clefs of the voices in force where `place` begins.
VoiceClefs ClefsBefore(const ScoreDocument& doc, const LinePlace& place) {
    VoiceClefs clefs = VoiceClefs::before(doc, place.page);
    const PageRecord& page = *doc.findPage(place.page);
    for (const LineRange& r : LinesOfPage(page))
        if (r.last < place.line.first) clefs.enterLine(page, r);
    return clefs;
}

bool HoldsMusic(const StaffRecord& staff) {
    return std::any_of(staff.elements.begin(), staff.elements.end(), [](const ElementRecord& e) { return !e.isSign(); });
}

// Whether `line` is the piece's last line with music: nothing follows it on its page, nor on a later page.
bool EndsThePiece(const ScoreDocument& doc, const PageRecord& page, LineRange line) {
    for (std::size_t i = static_cast<std::size_t>(line.last) + 1; i < page.staves.size(); ++i)
        if (HoldsMusic(page.staves[i])) return false;
    for (int p = static_cast<int>(page.number) + 1; p <= doc.pageCount; ++p) {
        const PageRecord* later = doc.findPage(p);
        if (later == nullptr || std::any_of(later->staves.begin(), later->staves.end(), HoldsMusic)) return false;
    }
    return true;
}

// A line is stretched to the line length, the piece's last one only when it is two thirds full already.
bool Justify(const ScoreDocument& doc, PageRecord& page, LineRange line) {
    return JustifyLine(page, line, std::max(doc.stepUnit, 1), EndsThePiece(doc, page, line));
}

// A line that received music from the line before begins with its clefs and is respaced as a whole.
void PrepareReceivingLine(ScoreDocument& doc, const LinePlace& place, DocumentSpacing& source, int step) {
    EnsureLineStartClefs(*doc.findPage(place.page), place.line, ClefsBefore(doc, place), std::max(doc.stepUnit, 1));
    doc.spacingStep = step;
    SpaceLineOfPage(doc, *doc.findPage(place.page), place.line, SpacingMode::Raw, source);
}

// Receiving lines are prepared and broken in turn, down the score, until a line keeps all its music.
void SettleReceivingLines(ScoreDocument& doc, UiServices& ui, std::optional<LinePlace> place,
                          DocumentSpacing& source, int step, UnbreakableLines& reported) {
    for (int guard = 0; place && guard < maxPages * maxStavesPerPage; ++guard) {
        PrepareReceivingLine(doc, *place, source, step);
        place = BreakLongLine(doc, ui, *place, reported).target;
    }
}

void CarryTimeSignaturesOn(ScoreDocument& doc, UiServices& ui, const LinePlace& place, int su) {
    const std::optional<LinePlace> next = FollowingLine(doc, ui, place, false);
    if (!next) return;
    CarryTimeSignatures(*doc.findPage(place.page), place.line, *doc.findPage(next->page), next->line, su);
}

// Modes 111 and 114: each line in turn, top to bottom.
void LayOutLines(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, int pageNumber, bool justify,
                 UnbreakableLines& reported) {
    const int su = std::max(doc.stepUnit, 1);
    const int step = std::max(doc.spacingStep, 1);
    DocumentSpacing source(doc, distances);
    VoiceClefs clefs = VoiceClefs::before(doc, pageNumber);
    std::optional<LinePlace> overflow;
    int settled = step;
    for (const LineRange& line : LinesOfPage(*doc.findPage(pageNumber))) {
        const LinePlace place{pageNumber, line};
        EnsureLineStartClefs(*doc.findPage(pageNumber), line, clefs, su);
        CarryTimeSignaturesOn(doc, ui, place, su);
        doc.spacingStep = step;  // every line starts from the same step, whatever the line before settled on
        SpaceLineOfPage(doc, *doc.findPage(pageNumber), line, SpacingMode::Raw, source);
        const BreakResult broken = BreakLongLine(doc, ui, place, reported);
        if (broken.target && broken.target->page != pageNumber) overflow = broken.target;
        PageRecord& page = *doc.findPage(pageNumber);
        if (justify && broken.outcome != BreakOutcome::Unbreakable) {
            const SpacingResult r = SpaceLineOfPage(doc, page, line, SpacingMode::Optimised, source);
            if (r.step != 0) settled = r.step;
            Justify(doc, page, line);
        }
        clefs.enterLine(page, line);
    }
    SettleReceivingLines(doc, ui, overflow, source, step, reported);
    doc.spacingStep = justify ? settled : step;
}

void JustifyLines(ScoreDocument& doc, int pageNumber) {
    PageRecord& page = *doc.findPage(pageNumber);
    for (const LineRange& line : LinesOfPage(page))
        if (Justify(doc, page, line)) doc.markModified();
}

void BreakLines(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, int pageNumber,
                UnbreakableLines& reported) {
    DocumentSpacing source(doc, distances);
    const int step = std::max(doc.spacingStep, 1);
    std::optional<LinePlace> overflow;
    for (const LineRange& line : LinesOfPage(*doc.findPage(pageNumber))) {
        const BreakResult broken = BreakLongLine(doc, ui, LinePlace{pageNumber, line}, reported);
        if (broken.target && broken.target->page != pageNumber) {
            overflow = broken.target;
        } else if (broken.target) {
            PrepareReceivingLine(doc, *broken.target, source, step);
        }
        // A line that gave music away, or received some, ends on the line's end again.
        Justify(doc, *doc.findPage(pageNumber), line);
    }
    SettleReceivingLines(doc, ui, overflow, source, step, reported);
}

// The cursor stays on its staff and on an element that still exists there.
void FindCursorAgain(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    if (page == nullptr || page->staves.empty()) return;
    doc.currentStaff = std::clamp(doc.currentStaff, 0, static_cast<int>(page->staves.size()) - 1);
    const int count = static_cast<int>(doc.staff()->elements.size());
    doc.currentElement = std::clamp(doc.currentElement, -1, count - 1);
}

}  // namespace

bool JustifyLine(PageRecord& page, LineRange line, int stepUnit, bool lastOfPiece) {
    const int length = LineLengthOf(page);
    int anchor = INT_MAX, last = INT_MIN;
    bool lastIsBar = false;
    for (const StaffRecord* staff : StavesOf(page, line)) {
        for (const ElementRecord& e : staff->elements) {
            if (!e.isSign()) anchor = std::min(anchor, e.x);
            if (e.x > last || (e.x == last && e.isSignOfType(SignType::Bar))) {
                lastIsBar = e.x > last ? e.isSignOfType(SignType::Bar) : true;
                last = e.x;
            }
        }
    }
    const int target = lastIsBar ? length : length - 3 * stepUnit;
    if (length <= 0 || anchor == INT_MAX || last <= anchor || target <= anchor || last == target) return false;
    if ((lastOfPiece && last < length * 2 / 3) || last > target + 10 * stepUnit) return false;
    for (StaffRecord* staff : StavesOf(page, line))
        for (ElementRecord& e : staff->elements)
            if (e.x > anchor)
                e.x = anchor + static_cast<int>(std::int64_t{e.x - anchor} * (target - anchor) / (last - anchor));
    return true;
}

int LayOutPage(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, PageLayoutMode mode,
               std::optional<int> step) {
    UnbreakableLines reported;
    return LayOutPage(doc, ui, distances, mode, step, reported);
}

int LayOutPage(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, PageLayoutMode mode,
               std::optional<int> step, UnbreakableLines& reported) {
    const PageRecord* page = doc.page();
    if (page == nullptr) return 0;
    const int pageNumber = static_cast<int>(page->number);
    if (step) doc.spacingStep = std::clamp(*step, 1, 99);
    switch (mode) {
        case PageLayoutMode::RawPage: LayOutLines(doc, ui, distances, pageNumber, false, reported); break;
        case PageLayoutMode::JustifiedPage: LayOutLines(doc, ui, distances, pageNumber, true, reported); break;
        case PageLayoutMode::JustifyPage: JustifyLines(doc, pageNumber); break;
        case PageLayoutMode::FinalPass:
            BreakLines(doc, ui, distances, pageNumber, reported);
            if (step) doc.spacingStep = std::clamp(*step, 1, 99);
            break;
        case PageLayoutMode::FinishRaw:
        case PageLayoutMode::FinishJustified: break;
    }
    FindCursorAgain(doc);
    doc.markModified();
    return 1;
}

}  // namespace notavera
