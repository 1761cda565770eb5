// The menu commands that respace, align, justify and lay out lines, blocks and pages ("&Espaces" in Editer,
// "Recalculer Distances" and its detail submenu in Outils).
#pragma once

#include <optional>

#include "render/line_breaks.h"
#include "render/line_respacing.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// What the markers tell the spacing commands: marker X, the staff marker Y stands on (the staff that
// "Aligner portée marquée" aligns against the current one), and the marked region the respacing keeps to.
struct SpacingMarkers {
    std::optional<int> x;
    std::optional<int> markedStaff;
    std::optional<SpacingRegion> region;
};

// The one place the spacing commands read the markers from.
SpacingMarkers ReadSpacingMarkers(const EditorContext& ctx);

// "Justifier (marqueurX)": the music of the current block, from its first note on, is stretched or narrowed so
// that its last element stands at `markerX`. Returns 1 when it moved; 0 (and a beep) when marker X does not lie
// after the block's first note.
int JustifyToMarkerX(EditorContext& ctx, int markerX);

// "Déplacer bloc->marqueurX": the current element and everything after it on the staves of the current block
// move so that the current element stands at `markerX`; nothing moves before the element in front of it.
// Returns 1 when it moved.
int MoveBlockToMarkerX(EditorContext& ctx, int markerX);

// Cuts the current block at x: what the click after "Couper ligne->HAUT" (LineCut::Up) or "Couper ligne->BAS"
// (LineCut::Down) does.
// A cut that would split a beam group or a tuplet on one of its staves is refused with message 54; without a
// line to take the music nothing changes and the user hears a beep. Both lines are respaced and the view is drawn
// again. Returns 1 when the music moved, else 0.
int CutLine(EditorContext& ctx, int x, LineCut direction);

void RegisterSpacingCommands(CommandRegistry& registry);

}  // namespace notavera
