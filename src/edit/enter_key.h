// The Enter key on the element at the cursor: a pending notehead shape, or the change of the tools 300..304
// (hide or reveal, enharmonic respelling, head side, staccato side, group-mark side).
#pragma once

namespace notavera {

class ScoreDocument;

// Applies the pending notehead shape, or else `tool` (with `hideKind` for the hide tool), to the current element
// when it stands at x. True when the document changed.
bool EnterOnElement(ScoreDocument& doc, int x, int tool, int hideKind);

// Whether Enter acts on the element (a notehead shape pending, or one of the tools 300..304); otherwise it starts
// the numeric value entry of the next digit.
bool EnterActsOnElement(const ScoreDocument& doc, int tool);

}  // namespace notavera
