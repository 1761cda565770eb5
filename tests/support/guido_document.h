// Test scores written in GUIDO: a new document from the default staff layout model with a GUIDO piece read
// into the staves of page 1 (one sequence a staff).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "score/score_document.h"

namespace notavera {

// Any reading error fails the calling test with the error's text.
ScoreDocument DocumentFromGuido(std::string_view gmn, int pages = 1);

// The elements of staff `staff` (0-based) of page 1.
const std::vector<ElementRecord>& GuidoStaff(const ScoreDocument& doc, int staff = 0);

}  // namespace notavera
