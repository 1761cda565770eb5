// The menu commands that respace, align, justify and lay out lines, blocks and pages ("&Espaces" in Editer,
// "Recalculer Distances" and its detail submenu in Outils).
#pragma once

#include <optional>

namespace notavera {

class CommandRegistry;
struct EditorContext;

// What the markers tell the spacing commands: marker X, and the staff marker Y stands on (the staff that
// "Aligner portée marquée" aligns against the current one).
struct SpacingMarkers {
    std::optional<int> x;
    std::optional<int> markedStaff;
};

// The one place the spacing commands read the markers from.
SpacingMarkers ReadSpacingMarkers(const EditorContext& ctx);

void RegisterSpacingCommands(CommandRegistry& registry);

}  // namespace notavera
