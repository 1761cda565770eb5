// Copy and paste of elements, erase recovery, and the picture of a region or page put on the clipboard.
#pragma once

#include <vector>

#include "edit/element_runs.h"

namespace notavera {

class CommandRegistry;
struct EditorContext;

// Copy (`paste` false) records where the source lies: the marked zone, otherwise from the current element to
// marker Y (the current element alone without marker Y). Paste (`paste` true) inserts copies of the recorded
// elements at the cursor; the source stays recorded.
void CopyPaste(EditorContext& ctx, bool paste);

// What a deletion removed becomes the erase buffer, replacing the last one; nothing removed leaves it as it was.
void RememberErased(EditorContext& ctx, ElementRuns removed);

// Puts the erase buffer back on the current staff at the cursor, keeping the elements' distances.
void RecoverErasure(EditorContext& ctx);

// A picture of the marked region, or of the page, on the clipboard as SVG, PNG and Windows metafile.
void CopyPictureToClipboard(EditorContext& ctx);

// True, after message 34, when `page` holds the copy source: deleting it would leave paste nothing to copy.
bool RefuseDeletingCopySource(EditorContext& ctx, int page);

void RegisterCopyCommands(CommandRegistry& r);

}  // namespace notavera
