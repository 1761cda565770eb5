// The normalising commands of the "Armure" menu and the respelling of a region.
#include "shell/accidental_commands.h"

#include <algorithm>
#include <array>

#include "edit/accidental_normalising.h"
#include "edit/respelling.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_rules.h"
#include "shell/editor_context.h"
#include "shell/page_navigation.h"
#include "shell/title_bar.h"
#include "shell/zone.h"

namespace notavera {

namespace {

using namespace normalise_mode;

// Where a command over pages found the cursor, to put it back there.
struct StartPlace {
    int page = 0;
    int staff = 0;
    int x = 0;
};

constexpr int noElementX = 50;

void ReturnTo(EditorContext& ctx, const StartPlace& from) {
    if (ctx.doc.currentPage != from.page && !GoToPage(ctx, from.page)) return;
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || page->staves.empty()) return;
    ctx.doc.currentStaff = std::min(from.staff, static_cast<int>(page->staves.size()) - 1);
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int start = f ? f->staffStart[static_cast<std::size_t>(ctx.doc.currentStaff)] : ctx.doc.defaultFirstX;
    ReplaceOnStaff(ctx.doc, Replace::AtOrAfterX, from.x, start);
}

struct NormalisingCommand {
    int command;
    unsigned mode;
    bool toPageMarker;
};

constexpr std::array normalisingCommands{
    NormalisingCommand{cmd::ShowKeyAccidentals, showAll, false},
    NormalisingCommand{cmd::ReadKey, readKey, false},
    NormalisingCommand{cmd::LoadKey, loadKey, false},
    NormalisingCommand{cmd::UnloadKey, unload, false},
    NormalisingCommand{cmd::IncludeBarAccidentals, inclusive, false},
    NormalisingCommand{cmd::ExcludeBarAccidentals, exclusive, false},
    NormalisingCommand{cmd::ReadKeyToMarker, readKey, true},
    NormalisingCommand{cmd::IncludeBarAccidentalsToMarker, inclusive, true},
    NormalisingCommand{cmd::ExcludeBarAccidentalsToMarker, exclusive, true},
};

}  // namespace

void NormaliseCurrentGroup(EditorContext& ctx, unsigned mode) {
    ScoreDocument& doc = ctx.doc;
    PageRecord* page = doc.page();
    if (page == nullptr || doc.staff() == nullptr) return;
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    const bool staffAlone = zone.marked() && zone.page == doc.currentPage && zone.startStaff == doc.currentStaff;
    NormaliseGroup(*page, doc.currentStaff, mode, staffAlone);
    doc.markModified();
    ctx.ui.invalidate();
}

void NormaliseToPageMarker(EditorContext& ctx, unsigned mode) {
    ScoreDocument& doc = ctx.doc;
    if (doc.page() == nullptr) return;
    ClearZone(ctx);
    const ElementRecord* e = doc.element();
    const StartPlace from{doc.currentPage, doc.currentStaff, e ? e->x : noElementX};
    int& marker = ctx.shell.cursor.markerPage;
    const int last = std::min(marker > 0 ? marker : doc.pageCount, doc.pageCount);
    // A mask page stands outside the page sequence: it is processed alone.
    const int through = ctx.shell.maskEditing ? from.page : last;
    for (int p = from.page; p == from.page || p <= through; ++p) {
        if (p != doc.currentPage && !GoToPage(ctx, p)) break;
        NormalisePage(*doc.page(), mode);
        // Marked before the next page is reached: sliding the page window writes the modified pages out.
        doc.markModified();
    }
    ReturnTo(ctx, from);
    marker = 0;
    UpdateTitleBar(ctx);
    ctx.ui.invalidate();
}

void RespellRegion(EditorContext& ctx) {
    const std::vector<ZoneSpan> spans = RegionSpans(ctx);
    if (spans.empty()) return;
    // A marked rectangle may lie on another page of the window than the current one.
    PageRecord& page = *ctx.doc.findPage(ctx.shell.cursor.zone.page);
    for (const ZoneSpan& span : spans) {
        StaffRecord& staff = page.staves[static_cast<std::size_t>(span.staff)];
        for (int i = span.first; i <= span.last; ++i) {
            const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
            if (!e.isNote() || e.noteWord().accidental() == Accidental::None || e.noteWord().hiddenAccidental())
                continue;
            Respell(ctx.doc, staff, i, false);
        }
    }
    ctx.doc.markModified();
    ClearZone(ctx);
    ctx.ui.invalidate();
}

void RegisterAccidentalCommands(CommandRegistry& registry) {
    for (const NormalisingCommand& c : normalisingCommands) {
        const auto run = c.toPageMarker ? NormaliseToPageMarker : NormaliseCurrentGroup;
        registry.addCommand(c.command, [run, mode = c.mode](EditorContext& ctx, int) { run(ctx, mode); }, UndoPolicy::Step);
    }
    registry.addCommand(cmd::InvertSharpsFlats, [](EditorContext& ctx, int) { RespellRegion(ctx); }, UndoPolicy::Step);
}

}  // namespace notavera
