// Key signatures: the staff's own key written at the start of its line, key changes within the line, and their
// erasure.
#pragma once

#include "render/spacing_settings.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// Writes the key of the insertion state (`doc.insertion.key`) at x on the current staff, or erases the key
// there, with `spacing` the current staff's spacing settings. Near the line start it is the staff's own key,
// handed down to the other staves when the staff heads a block; further right it is a key change, rewritten when
// one is the current element at x. Returns the x after the key (x itself after an erasure or without a current
// staff).
int PlaceKey(ScoreDocument& doc, UiServices& ui, bool erase, int x, const SpacingSettings& spacing);

}  // namespace notavera
