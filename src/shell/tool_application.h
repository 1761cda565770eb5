// What a double click does with the current tool: the pitch under the clicked point, and the tool applied at the
// cursor once the cursor stands on that point; and the Enter key, which applies the tools 300..304 at the cursor.
#pragma once

namespace notavera {

struct EditorContext;

// Tools that are not characters: hide or reveal (300), sharp to flat (301), notehead side (302), staccato side
// (303), group-mark side (304).
inline constexpr int firstElementTool = 300;
inline constexpr int lastElementTool = 304;
inline constexpr int freeSlurTool = 'l';

// Enter on the element at the cursor: the pending notehead shape, or the current tool 300..304.
void EnterOnElementAtCursor(EditorContext& ctx);

// The note name (1 C … 7 B) under page height y at x on the current staff, its octave written into the insertion
// attributes. Points far above or below the staff count as eight steps beyond it. 0 without a current staff.
unsigned PitchFromPoint(EditorContext& ctx, int y, int x);

// Applies `tool` at the cursor (already put on the clicked point), `name` being the note name clicked and (x, y)
// the page point. Returns the tool to keep current: the slur and beam tools alternate between opening and
// closing, tool 0 and Escape leave no tool.
int ApplyToolAt(EditorContext& ctx, int tool, unsigned name, int x, int y);

}  // namespace notavera
