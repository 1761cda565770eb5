// Mask pages: entering and leaving their editing, erasing them, and the page flags that hide them on a page.
#pragma once

#include <cstdint>

#include "score/cursor_place.h"
#include "score/score_document.h"
#include "shell/command_ids.h"

namespace notavera {

struct EditorContext;

// cmd::EditFixedMask / EditVariableMask: the editor goes to the mask page (page number 0), made empty from the
// staff-layout model when the document has none. Autosave waits meanwhile. 0 when refused: a mask is already
// edited, there is no page, or the view shows continuous pages.
int EnterMaskEditing(EditorContext& ctx, int command);
// cmd::LeaveMask: back to the page, staff and element the editing started from. 0 when no mask is edited.
int LeaveMaskEditing(EditorContext& ctx);
// The place a save records for the document to reopen at. While a mask is edited the cursor stands on the mask
// page, which is no page of the score: the place the editing goes back to is recorded instead.
CursorPlace PlaceToReopen(const EditorContext& ctx);
// cmd::EraseFixedMask / EraseVariableMask: frees the mask page and clears its flag. 0 when there is none, or
// while it is the page being edited.
int EraseMask(EditorContext& ctx, int command);
// cmd::WithoutFixedMask / WithoutVariableMask: toggles the current page's flag that hides the fixed or variable
// mask on it. 0 without a page.
int ToggleMaskFlag(EditorContext& ctx, int command);

// The masks drawn under the current page, as mask flags (block_flag::fixedMask, block_flag::variableMask): those
// that exist and that the page does not hide. 0 while a mask is edited, for a mask is drawn under no mask.
std::uint8_t MasksShownOnPage(const ScoreDocument& doc);
// cmd::TraceGhostModel: the masks drawn under the current page are traced onto it. The elements of each mask
// staff join the page's staff of the same rank, in left-to-right order (at one x, the page's own first), and the
// page then hides those masks, so that nothing is drawn twice and the traced music can be edited. The cursor
// stays on its element. 0 when no mask shows.
int TraceMasks(EditorContext& ctx);

}  // namespace notavera
