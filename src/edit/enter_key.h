// The Enter key on the element at the cursor: a pending notehead shape, or the change of the tools 300..304
// (hide or reveal, enharmonic respelling, head side, staccato side, group-mark side).
#pragma once

namespace notavera {

class ScoreDocument;

// Applies the pending notehead shape, or else `tool` (with `hideKind` for the hide tool), to the current element
// when it stands at x. True when the document changed.
bool EnterOnElement(ScoreDocument& doc, int x, int tool, int hideKind);

}  // namespace notavera
