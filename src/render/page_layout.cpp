// The page layout passes over the lines of the current page.
#include "render/page_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "render/line_breaks.h"
#include "render/line_respacing.h"
#include "render/line_start_signs.h"
#include "shell/editor_context.h"

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

// A line that received music from the line before begins with its clefs and is respaced as a whole.
void PrepareReceivingLine(EditorContext& ctx, const LinePlace& place, DocumentSpacing& source, int step) {
    EnsureLineStartClefs(*ctx.doc.findPage(place.page), place.line, ClefsBefore(ctx.doc, place),
                         std::max(ctx.doc.stepUnit, 1));
    ctx.doc.spacingStep = step;
    SpaceLineOfPage(ctx, *ctx.doc.findPage(place.page), place.line, SpacingMode::Raw, source);
}

// Receiving lines are prepared and broken in turn, down the score, until a line keeps all its music.
void SettleReceivingLines(EditorContext& ctx, std::optional<LinePlace> place, DocumentSpacing& source, int step,
                          UnbreakableLines& reported) {
    for (int guard = 0; place && guard < maxPages * maxStavesPerPage; ++guard) {
        PrepareReceivingLine(ctx, *place, source, step);
        place = BreakLongLine(ctx, *place, reported).target;
    }
}

void CarryTimeSignaturesOn(EditorContext& ctx, const LinePlace& place, int su) {
    const std::optional<LinePlace> next = FollowingLine(ctx, place, false);
    if (!next) return;
    CarryTimeSignatures(*ctx.doc.findPage(place.page), place.line, *ctx.doc.findPage(next->page), next->line, su);
}

// Modes 111 and 114: each line in turn, top to bottom.
void LayOutLines(EditorContext& ctx, int pageNumber, bool justify, UnbreakableLines& reported) {
    ScoreDocument& doc = ctx.doc;
    const int su = std::max(doc.stepUnit, 1);
    const int step = std::max(doc.spacingStep, 1);
    DocumentSpacing source(ctx);
    VoiceClefs clefs = VoiceClefs::before(doc, pageNumber);
    std::optional<LinePlace> overflow;
    int settled = step;
    for (const LineRange& line : LinesOfPage(*doc.findPage(pageNumber))) {
        const LinePlace place{pageNumber, line};
        EnsureLineStartClefs(*doc.findPage(pageNumber), line, clefs, su);
        CarryTimeSignaturesOn(ctx, place, su);
        doc.spacingStep = step;  // every line starts from the same step, whatever the line before settled on
        SpaceLineOfPage(ctx, *doc.findPage(pageNumber), line, SpacingMode::Raw, source);
        const BreakResult broken = BreakLongLine(ctx, place, reported);
        if (broken.target && broken.target->page != pageNumber) overflow = broken.target;
        PageRecord& page = *doc.findPage(pageNumber);
        if (justify && broken.outcome != BreakOutcome::Unbreakable) {
            const SpacingResult r = SpaceLineOfPage(ctx, page, line, SpacingMode::Optimised, source);
            if (r.step != 0) settled = r.step;
            JustifyLine(page, line, su);
        }
        clefs.enterLine(page, line);
    }
    SettleReceivingLines(ctx, overflow, source, step, reported);
    doc.spacingStep = justify ? settled : step;
}

void JustifyLines(EditorContext& ctx, int pageNumber) {
    PageRecord& page = *ctx.doc.findPage(pageNumber);
    for (const LineRange& line : LinesOfPage(page))
        if (JustifyLine(page, line, std::max(ctx.doc.stepUnit, 1))) ctx.doc.markModified();
}

void BreakLines(EditorContext& ctx, int pageNumber, UnbreakableLines& reported) {
    DocumentSpacing source(ctx);
    const int step = std::max(ctx.doc.spacingStep, 1);
    std::optional<LinePlace> overflow;
    for (const LineRange& line : LinesOfPage(*ctx.doc.findPage(pageNumber))) {
        const BreakResult broken = BreakLongLine(ctx, LinePlace{pageNumber, line}, reported);
        if (broken.target && broken.target->page != pageNumber) {
            overflow = broken.target;
        } else if (broken.target) {
            PrepareReceivingLine(ctx, *broken.target, source, step);
        }
        // A line that gave music away, or received some, ends on the line's end again.
        JustifyLine(*ctx.doc.findPage(pageNumber), line, std::max(ctx.doc.stepUnit, 1));
    }
    SettleReceivingLines(ctx, overflow, source, step, reported);
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

bool JustifyLine(PageRecord& page, LineRange line, int stepUnit) {
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
    if (last < std::min(length / 2, length - 3 * stepUnit) || last > target + 10 * stepUnit) return false;
    for (StaffRecord* staff : StavesOf(page, line))
        for (ElementRecord& e : staff->elements)
            if (e.x > anchor)
                e.x = anchor + static_cast<int>(std::int64_t{e.x - anchor} * (target - anchor) / (last - anchor));
    return true;
}

int LayOutPage(EditorContext& ctx, PageLayoutMode mode, std::optional<int> step) {
    UnbreakableLines reported;
    return LayOutPage(ctx, mode, step, reported);
}

int LayOutPage(EditorContext& ctx, PageLayoutMode mode, std::optional<int> step, UnbreakableLines& reported) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr) return 0;
    const int pageNumber = static_cast<int>(page->number);
    if (step) ctx.doc.spacingStep = std::clamp(*step, 1, 99);
    switch (mode) {
        case PageLayoutMode::RawPage: LayOutLines(ctx, pageNumber, false, reported); break;
        case PageLayoutMode::JustifiedPage: LayOutLines(ctx, pageNumber, true, reported); break;
        case PageLayoutMode::JustifyPage: JustifyLines(ctx, pageNumber); break;
        case PageLayoutMode::FinalPass:
            BreakLines(ctx, pageNumber, reported);
            if (step) ctx.doc.spacingStep = std::clamp(*step, 1, 99);
            break;
        case PageLayoutMode::FinishRaw:
        case PageLayoutMode::FinishJustified: break;
    }
    FindCursorAgain(ctx.doc);
    ctx.doc.markModified();
    return 1;
}

}  // namespace notavera
