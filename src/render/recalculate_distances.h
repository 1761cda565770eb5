// "Recalculer Distances", the respacing the user asks for most, chosen by what the current line is; and the
// stretching or moving of a block's music to a given x that the two marker-X commands do.
#pragma once

#include "render/document_spacing.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// On the document's current page, with the environment's distances after signs. A line that is part of a block of
// several staves: every block of the page (the current block alone in the continuous view) respaced and aligned,
// the page justified, then the final pass with the step unit. A single staff: the page laid out and justified with
// the step, finished, then the final pass with the step unit. The questions and reports of the passes go through
// `ui`. Returns 1 when something was respaced.
int RecalculateDistances(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, bool continuousView);

// The music of `block`, from its first note on, stretched or narrowed so that its last element stands at x.
// False, with nothing moved, when x does not lie after the block's first note.
bool JustifyBlockToX(PageRecord& page, LineRange block, int x);

// The element at `from` and everything after it on the staves of `block` move so that it stands at x; nothing
// moves before the element in front of it. False when nothing moved.
bool MoveBlockToX(PageRecord& page, LineRange block, int from, int x);

}  // namespace notavera
