// The cross-staff placement. The moved staff is remembered by the shell rather than written into the staff's own
// words: its elements keep being drawn at their own place (those entered for the neighbour through their
// placement bits), and nothing moved can reach the file.
#include "shell/cross_staff.h"

#include "edit/region_attributes.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/region_commands.h"

namespace notavera {
namespace {

constexpr unsigned placementShift = 14;
constexpr std::uint32_t placementMask = 3u << placementShift;

int StaffCount(const ScoreDocument& doc) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    return page ? static_cast<int>(page->staves.size()) : 0;
}

void SetPlacementInForce(ScoreDocument& doc, int placement) {
    std::uint32_t& flags = doc.insertion.word0Flags;
    flags = (flags & ~placementMask) | (static_cast<std::uint32_t>(placement) << placementShift & placementMask);
}

bool Refused(const EditorContext& ctx, int placement) {
    const int staff = ctx.doc.currentStaff;
    if (placement == PlaceAbove && staff == 0) return true;
    if (placement == PlaceBelow && staff + 1 >= StaffCount(ctx.doc)) return true;
    return placement != PlaceOwn && PlacementInForce(ctx.doc) != PlaceOwn;
}

// The region, or with the alternate action the note at the cursor, takes the placement; bars, clefs and the
// other signs stay on their own staff.
void PlaceElements(EditorContext& ctx, int placement) {
    if (ctx.shell.input.templateStaffMode || ctx.doc.element() == nullptr) return;
    // The marked rectangle, or the stretch up to marker Y, takes the placement as a whole.
    if (ChangeRegion(ctx, region_id::Placement, static_cast<unsigned>(placement))) return;
    const CursorState& c = ctx.shell.cursor;
    ElementRecord* e = ctx.doc.element();
    if (ctx.shell.input.alternateAction && e->isNote() && e->x == c.x) {
        e->w0().setCrossStaff(static_cast<unsigned>(placement));
        ctx.doc.markModified();
    }
}

void PlacementKey(EditorContext& ctx, int key) {
    switch (static_cast<Key>(key)) {
    case Key::CtrlPageUp: AskPlacement(ctx, PlaceAbove); break;
    case Key::CtrlPageDown: AskPlacement(ctx, PlaceBelow); break;
    default: AskPlacement(ctx, PlaceOwn); break;
    }
}

// The placement buttons press Ctrl+PgUp and Ctrl+PgDn; in the continuous view, which shows one line, both Ctrl+Home.
void PlacementButton(EditorContext& ctx, int button) {
    if (ctx.shell.view.continuousView) AskPlacement(ctx, PlaceOwn);
    else AskPlacement(ctx, button == cmd::ButtonPlaceAbove ? PlaceAbove : PlaceBelow);
}

}  // namespace

int PlacementInForce(const ScoreDocument& doc) {
    return static_cast<int>((doc.insertion.word0Flags & placementMask) >> placementShift);
}

void PlaceStaff(EditorContext& ctx, int placement) {
    StaffPlacementMemory& memory = ctx.shell.cursor.placement;
    const int staff = ctx.doc.currentStaff;
    if (placement == PlaceForget || ctx.doc.staff() == nullptr) {
        memory = {};
        return;
    }
    // A staff moved before goes back to its own place when another one becomes the moved staff.
    if (memory.empty() || memory.page != ctx.doc.currentPage || memory.staff != staff)
        memory = {ctx.doc.currentPage, staff, staff};
    if (placement == PlaceOwn) memory.placedAt = staff;
    if (placement == PlaceAbove && staff > 0) memory.placedAt = staff - 1;
    if (placement == PlaceBelow && staff + 1 < StaffCount(ctx.doc)) memory.placedAt = staff + 1;
    SetPlacementInForce(ctx.doc, placement);
}

int PlacedStaffIndex(const EditorContext& ctx) {
    const StaffPlacementMemory& memory = ctx.shell.cursor.placement;
    const bool moved = !memory.empty() && memory.page == ctx.doc.currentPage && memory.staff == ctx.doc.currentStaff;
    return moved && memory.placedAt < StaffCount(ctx.doc) ? memory.placedAt : ctx.doc.currentStaff;
}

void AskPlacement(EditorContext& ctx, int placement) {
    if (ctx.doc.staff() == nullptr) return;
    if (Refused(ctx, placement)) {
        ctx.shell.input.navigationState = 0;
        return;
    }
    PlaceElements(ctx, placement);
    PlaceStaff(ctx, placement);
    ctx.shell.input.navigationState = PlacementInForce(ctx.doc);
    const auto placed = static_cast<std::size_t>(PlacedStaffIndex(ctx));
    if (const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc); f && placed < f->staffY.size())
        ctx.shell.cursor.y = static_cast<int>(f->staffY[placed]);
    ctx.ui.invalidate();
}

void RegisterCrossStaffCommands(CommandRegistry& r) {
    for (const Key key : {Key::CtrlPageUp, Key::CtrlPageDown, Key::CtrlHome})
        r.addKey(static_cast<int>(key), PlacementKey, UndoPolicy::Typing);
    r.addCommand(cmd::ButtonPlaceAbove, PlacementButton, UndoPolicy::Typing);
    r.addCommand(cmd::ButtonPlaceBelow, PlacementButton, UndoPolicy::Typing);
}

}  // namespace notavera
