// Moving the element at the cursor with the keys.
#include "shell/element_moves.h"

#include <algorithm>

#include "edit/element_moves.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"
#include "shell/keyboard_echo.h"
#include "shell/title_bar.h"

namespace notavera {

namespace {

// Nudging an element key by key is one edit: only the first move of a run saves an undo step; any other
// action in between, or another element, starts a new run.
void SaveStepOfMoveRun(EditorContext& ctx) {
    const CommandScopeState& s = ctx.shell.commands;
    const auto& run = s.moveRun;
    const bool continues = run.action != 0 && run.action + 1 == s.actions && run.page == ctx.doc.currentPage &&
                           run.staff == ctx.doc.currentStaff && run.element == ctx.doc.currentElement;
    if (!continues) SaveStepOfAction(ctx);
}

void RememberMoveRun(EditorContext& ctx) {
    auto& run = ctx.shell.commands.moveRun;
    run.action = ctx.shell.commands.actions;
    run.page = ctx.doc.currentPage;
    run.staff = ctx.doc.currentStaff;
    run.element = ctx.doc.currentElement;
}

int FineStep() { return 1; }

int SpacingStep(const EditorContext& ctx) { return std::max(ctx.doc.spacingStep, 1); }

// Ctrl+Shift+arrows: the fine move, one page unit sideways.
void CtrlShiftMove(EditorContext& ctx, int code) { MoveElementByKey(ctx, code - elementMoveKeyOffset, FineStep()); }

// Shift with a sideways key: the element at the cursor moves by the spacing step; without one, the key moves the
// cursor as it does without Shift.
void ShiftMove(EditorContext& ctx, int code) {
    const int key = code - shiftMoveKeyOffset;
    if (ElementAtCursor(ctx) != nullptr) {
        MoveElementByKey(ctx, key, SpacingStep(ctx));
        return;
    }
    DispatchKey(ctx, static_cast<Key>(key), {});
}

}  // namespace

std::optional<int> SignStep(const ElementRecord& e, const CursorFrame& f) {
    if (!e.isSign()) return std::nullopt;
    switch (e.signWord().signType()) {
    case SignType::Text: return static_cast<int>(f.halfSpace / 2.0);
    case SignType::Drawing:
    case SignType::Picture: return 2;
    case SignType::Curve:
    case SignType::FreeTie:
    case SignType::Hairpin:
    case SignType::Bracket: return 1;
    default: return std::nullopt;
    }
}

bool MoveElementByKey(EditorContext& ctx, int key, int across) {
    ElementRecord* e = ElementAtCursor(ctx);
    if (e == nullptr) return false;
    const bool vertical = key == MoveUp || key == MoveDown;
    const bool back = key == MoveLeft || key == MoveBackspace || key == MoveDown;
    const int sign = back ? -1 : 1;
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const int offsetStep = f ? SignStep(*e, *f).value_or(0) : 0;
    const bool possible = vertical ? ElementCanMoveUpDown(ctx.doc, sign, offsetStep)
                                   : ElementCanMoveAcross(ctx.doc, sign * across);
    if (!possible) {
        ctx.ui.beep();
        return false;
    }
    SaveStepOfMoveRun(ctx);
    if (vertical) MoveElementUpDown(ctx.doc, sign, offsetStep);
    else MoveElementAcross(ctx.doc, sign * across);
    RememberMoveRun(ctx);
    const ElementRecord* now = ctx.doc.element();
    ctx.shell.cursor.x = now->x;
    if (vertical && now->isNote()) EchoNote(ctx, *now);
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
    return true;
}

void RegisterElementMoveKeys(CommandRegistry& r) {
    for (const int arrow : {MoveLeft, MoveUp, MoveRight, MoveDown}) r.addKey(elementMoveKeyOffset + arrow, CtrlShiftMove);
    for (const int key : {MoveLeft, MoveRight, MoveSpace, MoveBackspace}) r.addKey(shiftMoveKeyOffset + key, ShiftMove);
}

}  // namespace notavera
