// Marker and region commands, the Escape key and the staff number dialog.
#include "shell/markers.h"

#include "platform/dialog_model.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/cursor_move.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/title_bar.h"
#include "shell/zone.h"

namespace notavera {
namespace {

constexpr const char* staffNumberField = "Numéro de portée";
constexpr int staffNumberControl = 47;

void MarkPage(EditorContext& ctx) {
    ctx.shell.cursor.markerPage = ctx.doc.currentPage;
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

void MarkY(EditorContext& ctx) {
    SetMarkerY(ctx, true);
    if (const ElementRecord* e = ctx.doc.element()) ctx.shell.cursor.markerYOffset = ctx.shell.cursor.x - e->x;
    ctx.ui.invalidate();
}

void MarkX(EditorContext& ctx) {
    CursorState& c = ctx.shell.cursor;
    c.markerX = c.x;
    ctx.ui.beep();
    if (c.zoneRect.shown && c.zone.marked()) {
        ctx.doc.currentStaff = c.zone.startStaff;
        ctx.doc.currentElement = c.zone.start;
    }
    ctx.ui.invalidate();
}

void MarkRegion(EditorContext& ctx) {
    ctx.shell.cursor.regionMarking = true;
    ctx.ui.invalidate();
    DispatchChar(ctx, U'#');
}

DialogModel MakeStaffDialog(int current) {
    DialogModel model("PorteeNo", "Aller Portée no");
    model.addInteger(staffNumberControl, staffNumberField, 1, 127, current, 3);
    return model;
}

}  // namespace

void EndPendingModes(EditorContext& ctx) {
    // The dispatch has already ended the mouse mode and the symbol mode.
    ShellState& shell = ctx.shell;
    shell.input.toolMenuItem = 0;
    shell.input.currentTool = 0;
    shell.cursor.regionMarking = false;
    shell.cursor.markerPage = 0;
    shell.input.groupNum = 1;
    shell.input.groupDen = 1;
    ClearZone(ctx);
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

bool GoToStaff(EditorContext& ctx) {
    const PageRecord* page = ctx.doc.page();
    if (page == nullptr || page->staves.empty()) return false;
    // The box's gap belongs to the staff it was opened on: it closes before the cursor leaves.
    if (ctx.shell.input.insertionOpen) DispatchKey(ctx, Key::Insert, {});
    DialogModel model = MakeStaffDialog(ctx.doc.currentStaff + 1);
    if (!ctx.ui.runDialog(model)) return false;
    const int number = model.value(staffNumberField);
    if (number < 1 || number > static_cast<int>(page->staves.size())) {
        ctx.ui.beep();
        return false;
    }
    ctx.shell.input.templateStaffMode = false;
    ctx.doc.currentStaff = number - 1;
    ctx.doc.currentElement = -1;
    MoveCursor(ctx, MoveSnap);
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
    return true;
}

void RegisterMarkerCommands(CommandRegistry& r) {
    r.addCommand(cmd::MarkerPage, [](EditorContext& ctx, int) { MarkPage(ctx); });
    r.addCommand(cmd::MarkerY, [](EditorContext& ctx, int) { MarkY(ctx); });
    r.addCommand(cmd::MarkerX, [](EditorContext& ctx, int) { MarkX(ctx); });
    r.addCommand(cmd::MarkRegion, [](EditorContext& ctx, int) { MarkRegion(ctx); });
    r.addCommand(cmd::GoToStaff, [](EditorContext& ctx, int) { GoToStaff(ctx); });
    r.addKey(static_cast<int>(Key::Escape), [](EditorContext& ctx, int) { EndPendingModes(ctx); });
}

}  // namespace notavera
