// "Recalculer Distances" and the two commands that work up to marker X: the respacing the user asks for most,
// chosen by what the current line is, and the stretching or moving of a line's music to a given x.
#pragma once

namespace notavera {

struct EditorContext;

// A line that is part of a block of several staves: every block of the page (the current block alone in the
// continuous view) respaced and aligned, the page justified, then the final pass with the step unit. A single
// staff: the page laid out and justified with the step, finished, then the final pass with the step unit.
// Returns 1 when something was respaced.
int RecalculateDistances(EditorContext& ctx);

// "Justifier (marqueurX)": the music of the current block, from its first note on, is stretched or narrowed so
// that its last element stands at `markerX`. Returns 1 when it moved; 0 (and a beep) when marker X does not lie
// after the block's first note.
int JustifyToMarkerX(EditorContext& ctx, int markerX);

// "Déplacer bloc->marqueurX": the current element and everything after it on the staves of the current block
// move so that the current element stands at `markerX`; nothing moves before the element in front of it.
// Returns 1 when it moved.
int MoveBlockToMarkerX(EditorContext& ctx, int markerX);

}  // namespace notavera
