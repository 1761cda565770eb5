// The Delete key: deleting the current element with its refusals.
#pragma once

#include <optional>

#include "score/records.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// Deletes the current element: a sign always, a note or rest only outside ties in progress and tuplets. A
// refusal shows its message and changes nothing. Returns the element removed, nothing when none was.
std::optional<ElementRecord> DeleteAtCursor(ScoreDocument& doc, UiServices& ui);

}  // namespace notavera
