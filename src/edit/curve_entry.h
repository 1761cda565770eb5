// The manipulable curve of the character {: a curve sign put at the cursor with a default arc over the staff, whose
// four control points the curve editing then moves.
#pragma once

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Puts a manipulable curve (sign type 8) at the cursor: a gentle arc one staff space above the staff, eight staff
// spaces wide, its control points in its blob. The curve becomes the current element; the cursor stays.
void InsertManipulableCurve(EditorContext& ctx);

void RegisterCurveCharacter(CommandRegistry& registry);

}  // namespace notavera
