// The menu commands that respace, align, justify and lay out lines, blocks and pages ("&Espaces" in Editer,
// "Recalculer Distances" and its detail submenu in Outils).
#pragma once

#include <optional>

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

void RegisterSpacingCommands(CommandRegistry& registry);

}  // namespace notavera
