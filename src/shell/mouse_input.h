// The mouse in the main window, in page units (the window converts its pixels with PagePointOfPixel): clicks
// that place the cursor and select, Ctrl+click for marker X and the block move, Shift+click for the move box,
// drags quantised into steps that move the cursor or change the selected note, the double click with the current
// tool or the command waiting for it, and the right button's alternate action.
#pragma once

#include "platform/canvas.h"
#include "shell/command_ids.h"
#include "shell/dispatch.h"

namespace notavera {

class CommandRegistry;

// The line cuts wait for their double click under their own command numbers (the special bar and the multi-bar
// rest under the modes their entry code names).
inline constexpr int cutLineUpMouseMode = cmd::CutLineUp;
inline constexpr int cutLineDownMouseMode = cmd::CutLineDown;

// True when the point lies in the current staff's band: from one staff height below its bottom line to one above
// its top line, between its left edge and the end of the line.
bool InCurrentStaffBand(EditorContext& ctx, Point at);

void MouseLeftDown(EditorContext& ctx, Point at, KeyModifiers modifiers);
// A mouse move; `leftHeld` says whether the left button is down.
void MouseMove(EditorContext& ctx, Point at, bool leftHeld, KeyModifiers modifiers);
void MouseLeftUp(EditorContext& ctx, Point at);
// The second press of a double click (it replaces that press: the first one has already been handled).
void MouseDoubleClick(EditorContext& ctx, Point at);
void MouseRightDown(EditorContext& ctx);

// Escape: the move box, a Ctrl+click waiting for its release, a drag and a free slur's first point are forgotten.
void EndMouseActions(EditorContext& ctx);

// The move box's command and its character #.
void RegisterMouseCommands(CommandRegistry& registry);

}  // namespace notavera
