// The respacing commands on the open document: the current line, the current block or each of its lines, whole
// or within a marked region, raw or optimised.
#pragma once

#include <optional>

#include "render/document_spacing.h"
#include "render/space_lines.h"

namespace notavera {

class ScoreDocument;

enum class SpacingTarget {
    CurrentLine,      // the current staff alone
    CurrentBlock,     // the staves of the current block together, simultaneous notes aligned
    EachLineOfBlock,  // every staff of the current block on its own
};

// The extent of a marked region on the current page. Elements from `fromX` to `toX` are respaced; those after it
// keep their distances and move with the last respaced element.
struct SpacingRegion {
    int fromX = 0;
    int toX = 0;
    // The staves the region was marked on (its start staff first, indices on the current page): they take the
    // place of the current staff. Without them the target is found from the current staff.
    std::optional<LineRange> staves;
};

// Respaces the target on the document's current page, with the environment's distances after signs. With a
// region, the current line becomes each staff of the region on its own, and the current block the block of the
// region's first staff. The step a respacing settles on (optimised mode) or that a sign set on the way becomes
// the document's "Taille du Pas". Returns the step, or 0 when there was nothing to respace (no current staff, or
// only empty staves); the document is marked modified when something was respaced.
int SpaceLines(ScoreDocument& doc, const SignDistances& distances, SpacingTarget target, SpacingMode mode,
               std::optional<SpacingRegion> region = std::nullopt);

// Respaces the staves of `line` on `page` as one line with settings from `source`; the document's step and
// corrections follow what the walk left. Returns the walk's result (step 0 when every staff was empty).
SpacingResult SpaceLineOfPage(ScoreDocument& doc, PageRecord& page, LineRange line, SpacingMode mode,
                              DocumentSpacing& source, std::optional<SpacingRegion> region = std::nullopt);

}  // namespace notavera
