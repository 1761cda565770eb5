// The Détruire commands that remove a stretch of elements: the marked region or the stretch from the cursor to
// marker Y (212), and the rest of the line from the cursor (213).
#pragma once

namespace notavera {

struct EditorContext;

inline constexpr int eraseRegionCommand = 212;
inline constexpr int eraseToLineEndCommand = 213;

// With a marked region shown, its elements go, staff by staff; otherwise, with marker Y on the current staff,
// the elements from the cursor to the marked element, both included. The zone and markers are used up. Without
// either only a beep. True when something was removed.
bool EraseRegion(EditorContext& ctx);

// Every element of the current staff at or after the cursor x. True when something was removed.
bool EraseToLineEnd(EditorContext& ctx);

}  // namespace notavera
