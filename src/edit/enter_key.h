// The Enter key on the element at the cursor: a pending notehead shape, or the change of the tools 300..304
// (hide or reveal, sharp to flat, head side, staccato side, group-mark side).
#pragma once

namespace notavera {

struct EditorContext;

void EnterOnElement(EditorContext& ctx);

}  // namespace notavera
