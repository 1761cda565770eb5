// Copy and paste, erase recovery and the clipboard picture.
#include "shell/copy_commands.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/clipboard.h"
#include "platform/messages.h"
#include "render/document_spacing.h"
#include "render/drawing_context.h"
#include "render/metafile_export.h"
#include "render/page_pass.h"
#include "score/mus_file.h"
#include "shell/command_ids.h"
#include "shell/command_scope.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr int copySourceChanged = 21;
constexpr int pageHeldForCopy = 34;
constexpr char32_t ctrlC = 0x03;
constexpr char32_t ctrlV = 0x16;

// A parenthesis placed against its neighbour (placement 1 before the next element, 2 after the previous one)
// belongs with that neighbour: alone or cut from it at a range end, it is not copied.
unsigned SpecialPlacement(const ElementRecord& e) {
    return e.isSignOfType(SignType::Parenthesis) ? e.signWord().pair2() : 0;
}

ElementRuns Lift(const PageRecord& page, const std::vector<ZoneSpan>& spans) {
    ElementRuns runs;
    for (const ZoneSpan& span : spans) {
        const auto& elements = page.staves[static_cast<std::size_t>(span.staff)].elements;
        runs.push_back({span.staff - spans.front().staff,
                        {elements.begin() + span.first, elements.begin() + span.last + 1}});
    }
    return runs;
}

// Where a run stands on its staff now: the start of the same elements at the same distances from each other,
// nearest to where they were copied from; nothing when the staff no longer holds them. Music entered or pasted
// before the source moves it along without changing it.
std::optional<int> FindRun(const std::vector<ElementRecord>& elements, const std::vector<ElementRecord>& run,
                           int near) {
    std::optional<int> best;
    const int n = static_cast<int>(run.size());
    for (int start = 0; start + n <= static_cast<int>(elements.size()); ++start) {
        bool same = true;
        for (int i = 0; i < n && same; ++i) {
            ElementRecord moved = run[static_cast<std::size_t>(i)];
            moved.x += elements[static_cast<std::size_t>(start)].x - run.front().x;
            same = moved == elements[static_cast<std::size_t>(start + i)];
        }
        if (same && (!best || std::abs(start - near) < std::abs(*best - near))) best = start;
    }
    return best;
}

// The recorded staves still hold the copied elements; the record follows them to where they stand now.
bool SourceIntact(EditorContext& ctx, CopyRecord& copy) {
    std::optional<PageRecord> loaded;
    const PageRecord* page = ctx.doc.findPage(copy.page);
    if (page == nullptr) {
        loaded = LoadPage(ctx.doc, ctx.ui, copy.page);  // a page outside the memory window is read from disk
        if (loaded) page = &*loaded;
    }
    if (page == nullptr || copy.spans.size() != copy.source.size()) return false;
    for (std::size_t k = 0; k < copy.spans.size(); ++k) {
        ZoneSpan& span = copy.spans[k];
        if (span.staff >= static_cast<int>(page->staves.size())) return false;
        const auto& run = copy.source[k].elements;
        const auto at = FindRun(page->staves[static_cast<std::size_t>(span.staff)].elements, run, span.first);
        if (!at) return false;
        span.first = *at;
    }
    return true;
}

// After an insertion the cursor stands where the music after it begins, on the element there if any.
void PlaceCursorAt(EditorContext& ctx, int x) {
    ctx.doc.markModified();
    ctx.doc.currentElement = -1;
    ctx.shell.cursor.x = x;
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
    ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, x, start);
    MoveCursor(ctx, MoveSnap);
    ctx.ui.invalidate();
}

void Copy(EditorContext& ctx) {
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr || staff->elements.empty()) return;
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    std::vector<ZoneSpan> spans;
    int pageNumber = ctx.doc.currentPage;
    if (zone.marked() && zone.last >= 0) {
        spans = ZoneSpans(ctx);
        pageNumber = zone.page;
        if (zone.page == ctx.doc.currentPage && zone.start >= 0) {
            ctx.doc.currentStaff = zone.startStaff;
            ctx.doc.currentElement = zone.start;
        }
    } else {
        spans = RegionSpans(ctx);
        if (spans.empty() && ctx.doc.currentElement >= 0)
            spans.push_back({ctx.doc.currentStaff, ctx.doc.currentElement, ctx.doc.currentElement});
    }
    if (spans.empty()) {
        ctx.ui.beep();
        return;
    }
    // Zone spans exist only while the zone's page is in memory.
    ctx.shell.copy.copy = CopyRecord{pageNumber, spans, Lift(*ctx.doc.findPage(pageNumber), spans)};
}

void Paste(EditorContext& ctx) {
    CopyRecord& copy = ctx.shell.copy.copy;
    if (!copy.recorded()) return;
    ElementRuns runs = copy.source;
    if (runs.size() == 1 && runs.front().elements.size() == 1 && SpecialPlacement(runs.front().elements.front()) != 0) {
        ClearZone(ctx);
        copy = CopyRecord{};
        return;
    }
    if (!SourceIntact(ctx, copy)) {
        ShowError(ctx.ui, copySourceChanged);
        copy = CopyRecord{};
        return;
    }
    SaveStepOfAction(ctx);
    if (ctx.shell.cursor.zoneRect.shown) {
        ctx.shell.cursor.zoneRect.shown = false;
        ctx.ui.invalidate();
    }
    auto& firstRun = runs.front().elements;
    if (!firstRun.empty() && SpecialPlacement(firstRun.front()) == 2) firstRun.erase(firstRun.begin());
    auto& lastRun = runs.back().elements;
    if (!lastRun.empty() && SpecialPlacement(lastRun.back()) == 1) lastRun.pop_back();
    PlaceCursorAt(ctx, InsertRunsAt(ctx.doc, runs, ctx.shell.cursor.x));
}

// The area of the picture in page units: the zone rectangle when one is shown, otherwise the page's music from
// its left edge to the line length and from the foot to just below the top.
Box PictureArea(EditorContext& ctx) {
    ZoneRectangle& r = ctx.shell.cursor.zoneRect;
    if (r.shown) {
        r.shown = false;
        ctx.ui.invalidate();
        return {std::min(r.left, r.right), std::min(r.bottom, r.top), std::max(r.left, r.right),
                std::max(r.bottom, r.top)};
    }
    const PageRecord* page = ctx.doc.page();
    const int right = page ? ctx.doc.lineEnd(*page) + 10 : 0;
    return {0, 0, right, ctx.doc.pageHeight - 40};
}

}  // namespace

void CopyPaste(EditorContext& ctx, bool paste) {
    if (paste) {
        Paste(ctx);
    } else {
        Copy(ctx);
    }
}

void RememberErased(EditorContext& ctx, ElementRuns removed) {
    bool any = false;
    for (const StaffRun& run : removed) any = any || !run.elements.empty();
    if (any) ctx.shell.copy.erased = std::move(removed);
}

void RecoverErasure(EditorContext& ctx) {
    const ElementRuns& erased = ctx.shell.copy.erased;
    if (erased.empty() || ctx.doc.staff() == nullptr) return;
    SaveStepOfAction(ctx);
    PlaceCursorAt(ctx, InsertRunsAt(ctx.doc, erased, ctx.shell.cursor.x));
}

void CopyPictureToClipboard(EditorContext& ctx) {
    Clipboard* clipboard = ctx.ui.clipboard();
    Box area = PictureArea(ctx);
    // What hangs left of the lines (braces, brackets) comes along with a picture that starts at the edge.
    if (area.left == 0) area.left = -40;
    if (clipboard == nullptr || area.right <= area.left || area.top <= area.bottom) return;
    DrawingContext dc;
    dc.metafiles = ctx.ui.metafilePlayer();
    ApplyZoom(dc, ctx.shell.view.zoom);
    dc.visibleRegion = {area.left, area.bottom, area.right, area.top};
    const Box zoomed{dc.toDevice(area.left), dc.toDevice(area.bottom), dc.toDevice(area.right), dc.toDevice(area.top)};
    ClipboardPicture picture;
    picture.area = zoomed;
    picture.draw = [&](Canvas& canvas) {
        dc.canvas = &canvas;
        DrawPage(dc, ctx.doc);
        dc.canvas = nullptr;
    };
    picture.metafile = [&](Canvas& measuring) {
        const MetafileExport exported =
            ExportMetafile(dc, ctx.doc, {zoomed.left, zoomed.bottom, zoomed.right, zoomed.top}, measuring);
        return exported.picture->fileBytes();
    };
    ctx.ui.setWaitCursor(true);
    clipboard->setPicture(picture);
    ctx.ui.setWaitCursor(false);
}

bool RefuseDeletingCopySource(EditorContext& ctx, int page) {
    if (!ctx.shell.copy.copy.recorded() || ctx.shell.copy.copy.page != page) return false;
    ShowNotice(ctx.ui, pageHeldForCopy, std::to_string(page));
    return true;
}

void RegisterCopyCommands(CommandRegistry& r) {
    const CommandHandler copy = [](EditorContext& ctx, int) { CopyPaste(ctx, false); };
    const CommandHandler paste = [](EditorContext& ctx, int) { CopyPaste(ctx, true); };
    r.addCommand(cmd::Copy, copy);
    r.addChar(ctrlC, copy);
    r.addCommand(cmd::Paste, paste);
    r.addChar(ctrlV, paste);
    r.addCommand(cmd::RecoverErasure, [](EditorContext& ctx, int) { RecoverErasure(ctx); });
    r.addCommand(cmd::CopyToClipboard, [](EditorContext& ctx, int) { CopyPictureToClipboard(ctx); });
}

}  // namespace notavera
