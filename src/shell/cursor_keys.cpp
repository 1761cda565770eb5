// Key handlers for cursor movement, the insertion octave and the Ctrl forms of the arrows.
#include "shell/cursor_keys.h"

#include <algorithm>
#include <cmath>

#include "render/staff_metrics.h"
#include "shell/command_registry.h"
#include "shell/cross_staff.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/cursor_rules.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/element_moves.h"
#include "shell/entry_cursor.h"
#include "shell/keyboard_echo.h"
#include "shell/markers.h"
#include "shell/measure_search.h"
#include "shell/page_deletion_commands.h"
#include "shell/page_navigation.h"
#include "shell/title_bar.h"

namespace notavera {
namespace {

constexpr int ctrlRight = static_cast<int>(Key::CtrlRight);
constexpr int ctrlUp = static_cast<int>(Key::CtrlUp);

void CursorKey(EditorContext& ctx, int key) {
    InsertionState& in = ctx.doc.insertion;
    const bool vertical = key == MoveUp || key == MoveDown;
    // Leaving a beamed run by changing staff closes its beam group first.
    if (vertical && (in.switches & SwitchBeam) != 0) DispatchChar(ctx, U']');
    if (!vertical) in.switches &= ~SwitchL;
    if ((in.switches & SwitchC) != 0) in.dots = 0;
    // Under the alternate action the arrows move the element at the cursor instead of the cursor.
    const bool arrowKey = vertical || key == MoveLeft || key == MoveRight;
    if (arrowKey && ctx.shell.input.alternateAction && ElementAtCursor(ctx) != nullptr) {
        MoveElementByKey(ctx, key, std::max(ctx.doc.spacingStep, 1));
        return;
    }
    MoveCursor(ctx, key);
    UpdateTitleBar(ctx);
    // The arrows let the user hear the note they land on.
    const bool arrow = vertical || key == MoveLeft || key == MoveRight;
    const ElementRecord* e = ctx.doc.element();
    if (arrow && e != nullptr && e->x == ctx.shell.cursor.x && !e->isSign() && !e->isRest()) EchoNote(ctx, *e);
}

// The staff Ctrl+Left and Ctrl+Right align with: the zone's last staff, or the staff above.
const StaffRecord* ReferenceStaff(EditorContext& ctx) {
    const ZoneRecord& zone = ctx.shell.cursor.zone;
    if (zone.marked() && zone.last >= 0) {
        const PageRecord* page = ctx.doc.findPage(zone.page);
        if (page == nullptr || zone.lastStaff < 0 || zone.lastStaff >= static_cast<int>(page->staves.size()))
            return nullptr;
        return &page->staves[static_cast<std::size_t>(zone.lastStaff)];
    }
    if (ctx.doc.currentStaff <= 0) return nullptr;
    return &ctx.doc.page()->staves[static_cast<std::size_t>(ctx.doc.currentStaff - 1)];
}

int FoundX(const StaffRecord& ref, int x, bool right) {
    const auto& els = ref.elements;
    if (right) {
        const auto it = std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x >= x + 1; });
        return it == els.end() ? els.back().x : it->x;
    }
    const auto it = std::find_if(els.rbegin(), els.rend(), [&](const ElementRecord& e) { return e.x <= x - 1; });
    return it == els.rend() ? els.front().x : it->x;
}

void MoveStaff(EditorContext& ctx, bool up) {
    std::uint32_t& word = ctx.doc.layoutModel.staffWord(ctx.doc.currentStaff);
    const unsigned distance = staff_model::Distance::get(word);
    if (up && distance == 0) return;
    if (!up && distance >= 1023) return;
    staff_model::Distance::set(word, up ? distance - 1 : distance + 1);
    if (!ApplyStaffLayoutModel(ctx.doc.layoutModel, *ctx.doc.page())) return;
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

}  // namespace

void ChangeInsertionOctave(EditorContext& ctx, int key) {
    const int o = OctaveOffset(ctx.doc);
    int next = 0;
    if (key == static_cast<int>(Key::PageUp)) next = o > 2 ? o - 1 : o + 1;
    else if (key == static_cast<int>(Key::PageDown)) next = o < -3 ? o + 1 : o - 1;
    SetOctaveOffset(ctx.doc, next);
    ctx.ui.invalidate();
}

void AlignWithReferenceStaff(EditorContext& ctx, int key) {
    if (ctx.doc.staff() == nullptr) return;
    const bool right = key == ctrlRight;
    CursorState& c = ctx.shell.cursor;
    const StaffRecord* ref = ReferenceStaff(ctx);
    if (ref == nullptr || ref->elements.empty()) {
        c.x += right ? 1 : -1;
        c.x = std::max(c.x, 0);
        return;
    }
    c.x = FoundX(*ref, c.x, right);
    int snapped = c.x;
    SnapToElement(ctx.doc, snapped, true);
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const PageRegion v = ViewRegionOf(ctx.doc, ctx.ui.shownArea());
    const int unit = f ? f->stepUnit : 0;
    if (right && c.x >= v.x1 - unit) ctx.ui.followView(ViewAction::PageRight);
    if (!right && c.x <= v.x0 + unit) ctx.ui.followView(ViewAction::PageLeft);
}

void MoveVertically(EditorContext& ctx, int key) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    if (!f || ctx.doc.staff() == nullptr) return;
    const bool up = key == ctrlUp;
    ElementRecord* e = ctx.doc.element();
    if (e != nullptr && e->x == ctx.shell.cursor.x) {
        if (const std::optional<int> d = SignStep(*e, *f)) {
            e->param += up ? *d : -*d;
            ctx.doc.markModified();
            ctx.ui.invalidate();
        }
        return;
    }
    MoveStaff(ctx, up);
}

void RegisterCursorCommands(CommandRegistry& r) {
    for (const int key : {MoveBackspace, MoveSpace, MoveHome, MoveLeft, MoveUp, MoveRight, MoveDown})
        r.addKey(key, CursorKey);
    for (const Key key : {Key::PageUp, Key::PageDown, Key::End})
        r.addKey(static_cast<int>(key), ChangeInsertionOctave);
    r.addKey(static_cast<int>(Key::CtrlLeft), AlignWithReferenceStaff);
    r.addKey(ctrlRight, AlignWithReferenceStaff);
    r.addKey(ctrlUp, MoveVertically, UndoPolicy::Typing);
    r.addKey(static_cast<int>(Key::CtrlDown), MoveVertically, UndoPolicy::Typing);
    RegisterElementMoveKeys(r);
    RegisterMarkerCommands(r);
    RegisterCrossStaffCommands(r);
    RegisterPageNavigationCommands(r);
    RegisterPageDeletionCommands(r);
    RegisterMeasureSearchCommand(r);
}

}  // namespace notavera
