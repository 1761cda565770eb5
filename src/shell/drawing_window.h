// The drawing window "Dessin": opening and closing it, its menu commands, keys and mouse, its title bar and the
// state of its menu items. The Qt window and the script runner drive it through these.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "edit/drawing_recorder.h"
#include "platform/canvas.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/menu_state.h"

namespace notavera {

class CommandRegistry;

// "&Graphiques": creates the window's state (or keeps it) and shows the window. The dispatch has saved an undo
// step.
void OpenDrawingWindow(EditorContext& ctx);
// "&Quitter" or the close box: a recording under way is finished first.
void CloseDrawingWindow(EditorContext& ctx);
bool DrawingWindowOpen(const EditorContext& ctx);

void DispatchDrawingCommand(EditorContext& ctx, int command);
// A key pressed (or repeated while held) and released: the cursor keys speed up while held.
void DispatchDrawingKey(EditorContext& ctx, Key key, KeyModifiers modifiers);
void DispatchDrawingKeyUp(EditorContext& ctx, Key key);
void DispatchDrawingChar(EditorContext& ctx, char32_t character);
void DrawingMouseLeftDown(EditorContext& ctx, Point at, KeyModifiers modifiers);
void DrawingMouseDoubleClick(EditorContext& ctx, Point at);
void DrawingMouseRightDown(EditorContext& ctx, KeyModifiers modifiers);

std::string DrawingWindowTitle(const EditorContext& ctx);
void UpdateDrawingWindowTitle(EditorContext& ctx);

CommandState DrawingMenuItem(const EditorContext& ctx, int command);

// What the window draws over the page: its cursor, the recording under way and the shape in progress, the
// selected element's box and the marked region.
struct DrawingFeedback {
    PagePoint cursor;
    std::optional<DrawingRecording> recording;  // drawn from `origin`
    PagePoint origin;
    std::vector<PagePoint> openShape;
    std::optional<Box> selection;
    std::optional<Box> region;
};
std::optional<DrawingFeedback> DrawingWindowFeedback(const EditorContext& ctx);

// The main window's command "&Graphiques".
void RegisterDrawingWindowCommands(CommandRegistry& registry);

}  // namespace notavera
