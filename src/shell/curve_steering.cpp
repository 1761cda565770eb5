// The free slur and the manipulable curve steered with the keys.
#include "shell/curve_steering.h"

#include <algorithm>
#include <optional>

#include "render/curve_signs.h"
#include "shell/command_scope.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/move_box.h"
#include "shell/title_bar.h"
#include "shell/tool_application.h"

namespace notavera {

namespace {

constexpr int endPoint = 0;
constexpr int middlePoints = 1;
constexpr int startPoint = 2;

void ForgetSlurHandle(MouseState& mouse) {
    mouse.slurHandleSet = false;
    mouse.freeSlurDrawn = false;
}

// The third press: the tool is dropped, as Escape drops it.
void EndFreeSlurTool(EditorContext& ctx) {
    MouseState& mouse = ctx.shell.mouse;
    ForgetSlurHandle(mouse);
    mouse.freeSlurStarted = false;
    ctx.shell.input.currentTool = 0;
    ctx.shell.input.toolMenuItem = 0;
    ctx.ui.endMouseMode();
    ctx.ui.invalidate();
    UpdateTitleBar(ctx);
}

ElementRecord* SteeredCurve(EditorContext& ctx) {
    const MouseState& mouse = ctx.shell.mouse;
    PageRecord* page = ctx.doc.findPage(mouse.curvePage);
    if (page == nullptr || mouse.curveStaff < 0 || static_cast<std::size_t>(mouse.curveStaff) >= page->staves.size())
        return nullptr;
    auto& els = page->staves[static_cast<std::size_t>(mouse.curveStaff)].elements;
    if (mouse.curveElement < 0 || static_cast<std::size_t>(mouse.curveElement) >= els.size()) return nullptr;
    ElementRecord& e = els[static_cast<std::size_t>(mouse.curveElement)];
    return e.isSign() && e.signWord().signType() == SignType::Curve && e.hasBlob() ? &e : nullptr;
}

void MoveCurvePoint(EditorContext& ctx, Point step) {
    ElementRecord* curve = SteeredCurve(ctx);
    if (curve == nullptr) return;
    std::optional<CurvePoints> points = DecodeCurvePoints(curve->blob.payload());
    if (!points) return;
    const auto move = [&](std::size_t i) {
        (*points)[i].x += step.x;
        (*points)[i].y += step.y;
    };
    switch (ctx.shell.mouse.curvePoint) {
    case endPoint: move(3); break;
    case middlePoints: move(1), move(2); break;
    default: move(0); break;
    }
    // The whole steering is one step of its own: undo takes it back and leaves the curve as it was placed.
    MouseState& mouse = ctx.shell.mouse;
    const CommandScope scope(ctx, mouse.curveSteered ? UndoPolicy::None : UndoPolicy::Step);
    mouse.curveSteered = true;
    curve->attachBlob(EncodeCurvePoints(*points));
    ctx.doc.markModified();
    ctx.ui.invalidate();
}

}  // namespace

bool SteerFreeSlur(EditorContext& ctx, int key) {
    MouseState& mouse = ctx.shell.mouse;
    if (ctx.shell.input.currentTool != freeSlurTool || key == static_cast<int>(Key::Escape)) {
        // A tool dropped or changed leaves no handle behind for the next time it is chosen.
        ForgetSlurHandle(mouse);
        return false;
    }
    if (!mouse.slurHandleSet) {
        mouse.slurHandle = HandleAtCursor(ctx);
        mouse.slurHandleSet = true;
        ctx.ui.beginMouseCapture();
    }
    if (key == static_cast<int>(Key::Enter)) {
        if (mouse.freeSlurDrawn) {
            const CommandScope scope(ctx, UndoPolicy::None);
            EndFreeSlurTool(ctx);
            return true;
        }
        const CommandScope scope(ctx, mouse.freeSlurStarted ? UndoPolicy::Step : UndoPolicy::None);
        ApplyToolAt(ctx, freeSlurTool, 0, mouse.slurHandle.x, mouse.slurHandle.y);
        return true;
    }
    const std::optional<Point> step = HandleStepOfKey(ctx, key, false);
    if (!step) return true;
    const CommandScope scope(ctx, UndoPolicy::None);
    mouse.slurHandle.x = std::max(mouse.slurHandle.x + step->x, 0);
    mouse.slurHandle.y += step->y;
    ctx.ui.invalidate();
    return true;
}

void StartCurveSteering(EditorContext& ctx) {
    MouseState& mouse = ctx.shell.mouse;
    mouse.curveSteering = true;
    mouse.curvePage = ctx.doc.currentPage;
    mouse.curveStaff = ctx.doc.currentStaff;
    mouse.curveElement = ctx.doc.currentElement;
    mouse.curvePoint = endPoint;
    mouse.curveSteered = false;
    ctx.ui.beginMouseCapture();
}

void EndCurveSteering(EditorContext& ctx) {
    MouseState& mouse = ctx.shell.mouse;
    if (!mouse.curveSteering) return;
    mouse.curveSteering = false;
    mouse.curveElement = -1;
    ctx.ui.endMouseMode();
    ctx.ui.invalidate();
}

bool SteerCurve(EditorContext& ctx, int key) {
    MouseState& mouse = ctx.shell.mouse;
    if (!mouse.curveSteering) return false;
    if (key == static_cast<int>(Key::Escape) || (key == static_cast<int>(Key::Enter) && mouse.curvePoint == startPoint)) {
        EndCurveSteering(ctx);
        return true;
    }
    if (key == static_cast<int>(Key::Enter)) {
        ++mouse.curvePoint;
        ctx.ui.invalidate();
        return true;
    }
    if (const std::optional<Point> step = HandleStepOfKey(ctx, key, false)) MoveCurvePoint(ctx, *step);
    return true;
}

}  // namespace notavera
