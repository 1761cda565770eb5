// The keys steer the free slur and a freshly placed manipulable curve as the mouse would: a handle moved by the
// arrows, Enter to take the next point, a third press (or Escape) to end.
#pragma once

namespace notavera {

struct EditorContext;

// While the free-slur tool is current its drag takes the keys: the arrows move a handle that starts at the cursor
// (a spacing step sideways, Ctrl+Left and Ctrl+Right one page unit, a half-space up or down); the first Enter
// records the first point at the handle, the second draws the slur to it, the third drops the tool. Escape is
// left to the dispatch, which drops the tool too. Every other key does nothing. False when the tool is not current.
bool SteerFreeSlur(EditorContext& ctx, int key);

// Starts the curve drag on the current element, a manipulable curve just placed: its end point first.
void StartCurveSteering(EditorContext& ctx);
// The keys while the curve drag runs: the arrows move the steered point (the same steps as the free slur's
// handle); Enter goes on from the end point to the middle control points (moved together), then to the start
// point, and the third press ends the drag; Escape ends it at once. Every other key does nothing. False when no
// curve drag runs.
bool SteerCurve(EditorContext& ctx, int key);
// Ends the curve drag and releases the mouse; nothing when none runs.
void EndCurveSteering(EditorContext& ctx);

}  // namespace notavera
