// Aligning the staves of blocks on their time slots as commands on the open document: the question about cue
// notes (message 48) and the report of the staves that do not end on the last slot (message 14).
#pragma once

#include <optional>

#include "render/align_block.h"

namespace notavera {

struct EditorContext;

// `AlignBlock` on the current block, whose first staff becomes current and leads the grid. With `markedStaff`
// (a staff index of the current page) only that staff is aligned against the current one. Unfinished staves
// are listed in message 14. Returns what the alignment did.
AlignResult AlignBlock(EditorContext& ctx, std::optional<int> markedStaff = std::nullopt);

enum class BlockSpacing {
    AlignOnly = 0,         // align the current block
    LinesThenAlign = 1,    // respace each line of the current block raw, then align it
    WholePage = 2,         // the same for every block of the page, then justify the page
};

// `SpaceBlocks`. Returns 1 when at least one block was aligned, else 0.
int SpaceBlocks(EditorContext& ctx, BlockSpacing mode);

}  // namespace notavera
