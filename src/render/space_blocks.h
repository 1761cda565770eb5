// Aligning the staves of blocks on their time slots on the current page of the open document: the question about
// cue notes (message 48) and the report of the staves that do not end on the last slot (message 14).
#pragma once

#include <optional>

#include "render/align_block.h"
#include "render/spacing_settings.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// `AlignBlock` on the document's current block, whose first staff becomes current and leads the grid. With
// `markedStaff` (a staff index of the current page) only that staff is aligned against the current one. Cue notes
// count as full values when the user says so (message 48, asked once per document); unfinished staves are listed
// in message 14. Returns what the alignment did.
AlignResult AlignBlock(ScoreDocument& doc, UiServices& ui, std::optional<int> markedStaff = std::nullopt);

enum class BlockSpacing {
    AlignOnly = 0,         // align the current block
    LinesThenAlign = 1,    // respace each line of the current block raw, then align it
    WholePage = 2,         // the same for every block of the page, then justify the page
};

// `SpaceBlocks`, the lines respaced with the environment's distances after signs. Returns 1 when at least one
// block was aligned, else 0.
int SpaceBlocks(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, BlockSpacing mode);

}  // namespace notavera
