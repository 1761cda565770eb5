// The region commands of the menus (hiding and revealing, flips, octave lines, head shapes and staccatos over a
// region) and the region forms of the attribute characters: each works between the cursor and marker Y, or in
// the marked rectangle, and does nothing while marker Y is not set.
#pragma once

#include <optional>

#include "edit/region_attributes.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// The region on its page: the marked rectangle when one is shown, otherwise from the cursor's element to marker
// Y's element. Nothing while marker Y is not set on the current page.
struct ShellRegion {
    PageRecord* page = nullptr;
    RegionBounds bounds;
};
std::optional<ShellRegion> CurrentRegion(EditorContext& ctx);

// The region attribute `id` with `value` over the region, after an undo step; the region and marker Y are used
// up. False, and nothing changes, without a region.
bool ChangeRegion(EditorContext& ctx, int id, unsigned value);

void RegisterRegionCommands(CommandRegistry& registry);

}  // namespace notavera
