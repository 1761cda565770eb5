// Mouse events of the main window turned into cursor moves, selections, drag steps and the double click's action.
#include "shell/mouse_input.h"

#include <algorithm>
#include <cstdlib>

#include "edit/note_drag.h"
#include "edit/staff_insertion.h"
#include "render/line_breaks.h"
#include "render/step_drag.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/command_scope.h"
#include "shell/cursor_frame.h"
#include "shell/cursor_move.h"
#include "shell/editor_context.h"
#include "shell/move_box.h"
#include "shell/note_commands.h"
#include "shell/sign_characters.h"
#include "shell/staff_commands.h"
#include "shell/spacing_commands.h"
#include "shell/title_bar.h"
#include "shell/tool_application.h"

namespace notavera {

namespace {

// A single mouse move is never taken for more steps than this: the drag then waits for the next move.
constexpr int maxStepsPerMove = 1000;

int DistanceToElement(EditorContext& ctx, int x) {
    const ElementRecord* e = ctx.doc.element();
    return e == nullptr ? -1 : std::abs(x - e->x);
}

// The click in the staff band: the cursor goes to the point (snapping onto an element within the tolerance), and
// an element within one step of it is selected for the drag.
void ClickOnStaff(EditorContext& ctx, Point at) {
    MouseState& mouse = ctx.shell.mouse;
    ctx.shell.cursor.x = at.x;
    MoveCursor(ctx, MoveSnap);
    UpdateTitleBar(ctx);
    const int distance = DistanceToElement(ctx, at.x);
    mouse.elementSelected = distance >= 0 && distance <= std::max(ctx.doc.spacingStep, 1);
    mouse.clickSettle = true;
    mouse.dragArmed = true;
    mouse.anchor = at;
}

// Ctrl+click: marker X follows the click; the release moves the block there.
void CtrlClick(EditorContext& ctx, Point at) {
    MouseState& mouse = ctx.shell.mouse;
    ctx.shell.cursor.markerX = std::max(at.x, 1);
    mouse.markerXPending = true;
    mouse.dragArmed = true;
    mouse.anchor = at;
    ctx.ui.invalidate();
}

// A step of a drag on the selected note: sideways its value, vertically (close to the note) its accidental.
void NoteStep(EditorContext& ctx, int code, Point at, const CursorFrame& f) {
    const int index = ctx.doc.currentElement;
    bool changed = false;
    if (code == ArrowLeft || code == ArrowRight) {
        changed = DragNoteValue(ctx.doc, index, code == ArrowRight);
    } else if (DistanceToElement(ctx, at.x) <= f.stepUnit) {
        changed = DragNoteAccidental(ctx.doc, index, code == ArrowUp);
    }
    if (changed) ctx.ui.invalidate();
}

void DragStep(EditorContext& ctx, int code, Point at, KeyModifiers modifiers, const CursorFrame& f) {
    const ShellState& shell = ctx.shell;
    const bool vertical = code == ArrowUp || code == ArrowDown;
    if (modifiers.ctrl && !shell.input.templateStaffMode) {
        if (vertical) DispatchKey(ctx, code == ArrowUp ? Key::Up : Key::Down, KeyModifiers{true, false});
        return;
    }
    const int distance = DistanceToElement(ctx, at.x);
    if (!shell.mouse.clickSettle && shell.mouse.elementSelected && distance >= 0 && distance <= 3 * f.stepUnit) {
        if (ctx.doc.element()->isNote() && !shell.input.alternateAction) {
            // Each step of the drag edits the note as typing would, and the whole drag is one run of it.
            const CommandScope scope(ctx, UndoPolicy::Typing);
            NoteStep(ctx, code, at, f);
        }
        return;
    }
    if (code == ArrowRight) DispatchKey(ctx, Key::Space, {});
    if (code == ArrowLeft) DispatchKey(ctx, Key::Backspace, {});
}

void FinishMouseMode(EditorContext& ctx) {
    ctx.shell.input.mouseMode = 0;
    ctx.ui.endMouseMode();
}

// A command's double click that acts at the cursor: only on the current staff.
bool PlaceCursor(EditorContext& ctx, Point at) {
    if (!InCurrentStaffBand(ctx, at)) return false;
    ctx.shell.cursor.x = at.x;
    MoveCursor(ctx, MoveSnap);
    return true;
}

// The commands a click finishes take their undo step at the click, where they change the score.
void RunMouseMode(EditorContext& ctx, Point at) {
    switch (ctx.shell.input.mouseMode) {
    case insertStaffMouseMode: {
        const CommandScope scope(ctx, UndoPolicy::Step);
        InsertStaffBelow(ctx.doc, ctx.ui, StaffAboveHeight(ctx.doc, at.y));
        break;
    }
    case cutLineUpMouseMode:
    case cutLineDownMouseMode: {
        const CommandScope scope(ctx, UndoPolicy::Step);
        CutLine(ctx, at.x, ctx.shell.input.mouseMode == cutLineUpMouseMode ? LineCut::Up : LineCut::Down);
        break;
    }
    case specialBarMouseMode:
    case multiBarRestMouseMode:
        if (!PlaceCursor(ctx, at)) return;  // the command still waits for a click on the staff
        DispatchChar(ctx, ctx.shell.input.mouseMode == specialBarMouseMode ? U'E' : U'j');
        break;
    default: return;
    }
    FinishMouseMode(ctx);
}


}  // namespace

bool InCurrentStaffBand(EditorContext& ctx, Point at) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    if (!f || ctx.doc.staff() == nullptr) return false;
    const auto i = static_cast<std::size_t>(ctx.doc.currentStaff);
    if (i >= f->staffY.size()) return false;
    // The reference height lies one staff height above the top line, so the band runs three heights below it.
    const double top = f->staffY[i];
    const double bottom = top - 3.0 * f->staffHeight;
    const int left = f->staffStart[i] - 3 * f->stepUnit;
    return at.y >= bottom && at.y <= top && at.x >= left && at.x <= f->lineLength;
}

void MouseLeftDown(EditorContext& ctx, Point at, KeyModifiers modifiers) {
    MouseState& mouse = ctx.shell.mouse;
    mouse.leftHeld = true;
    mouse.dragArmed = false;
    if (mouse.box.running) {
        MoveBoxPress(ctx, at);
        return;
    }
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return;
    if (modifiers.ctrl) {
        CtrlClick(ctx, at);
    } else if (modifiers.shift) {
        if (staff->elements.empty()) return;
        ctx.shell.cursor.x = at.x;
        StartMoveBox(ctx, at);
    } else if (InCurrentStaffBand(ctx, at)) {
        ClickOnStaff(ctx, at);
    }
}

void MouseMove(EditorContext& ctx, Point at, bool leftHeld, KeyModifiers modifiers) {
    MouseState& mouse = ctx.shell.mouse;
    const int mode = ctx.shell.input.mouseMode;
    if (!leftHeld || !mouse.leftHeld || !mouse.dragArmed || mouse.box.running) return;
    if (mode == cutLineUpMouseMode || mode == cutLineDownMouseMode) return;
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    if (!f) return;
    for (int i = 0; i < maxStepsPerMove; ++i) {
        const StepDragResult step = StepDrag(mouse.anchor, at, std::max(ctx.doc.spacingStep, 1), f->halfSpace);
        if (step.code == 0) break;
        mouse.anchor = step.anchor;
        DragStep(ctx, step.code, at, modifiers, *f);
    }
}

void MouseLeftUp(EditorContext& ctx, Point at) {
    MouseState& mouse = ctx.shell.mouse;
    mouse.leftHeld = false;
    mouse.dragArmed = false;
    if (mouse.box.running) {
        MoveBoxRelease(ctx, at);
        return;
    }
    if (!mouse.markerXPending) return;
    mouse.markerXPending = false;
    CursorState& c = ctx.shell.cursor;
    c.x = c.markerX;
    MoveCursor(ctx, MoveSnap);
    c.x = c.markerX;
    DispatchCommand(ctx, cmd::MoveBlockToMarkerX);
    UpdateTitleBar(ctx);
}

void MouseDoubleClick(EditorContext& ctx, Point at) {
    ShellState& shell = ctx.shell;
    if (shell.mouse.box.running) {
        MoveBoxPress(ctx, at);
        return;
    }
    if (shell.input.mouseMode != 0) {
        RunMouseMode(ctx, at);
    } else if (PlaceCursor(ctx, at)) {
        const CommandScope scope(ctx, UndoPolicy::Typing);
        const unsigned name = PitchFromPoint(ctx, at.y, at.x);
        shell.input.currentTool = ApplyToolAt(ctx, shell.input.currentTool, name, at.x, at.y);
    }
    UpdateTitleBar(ctx);
}

void MouseRightDown(EditorContext& ctx) {
    ctx.shell.input.alternateAction = true;
    EndMoveBox(ctx);
    ctx.ui.invalidate();
}

void EndMouseActions(EditorContext& ctx) {
    MouseState& mouse = ctx.shell.mouse;
    EndMoveBox(ctx);
    mouse.markerXPending = false;
    mouse.dragArmed = false;
    mouse.freeSlurStarted = false;
}

void RegisterMouseCommands(CommandRegistry& registry) {
    registry.addCommand(cmd::MoveBox, [](EditorContext& ctx, int) { DispatchChar(ctx, U'#'); });
    RegisterMoveBoxCharacter(registry);
}

}  // namespace notavera
