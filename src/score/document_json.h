// The JSON picture of a document that `notavera-cli info` prints and scripts dump: the header, every
// page with its staves and, on request, every element with its raw words and decoded fields.
#pragma once

#include <nlohmann/json.hpp>

#include "score/records.h"

namespace notavera {

struct EditorContext;

// Lists every page of the document: pages outside the memory window are brought in by sliding the
// window, which is put back on the current page, staff and element afterwards.
nlohmann::json DocumentToJson(EditorContext& ctx, bool elements);

// One element: raw words, then the decoded fields of a note, a rest or a sign.
nlohmann::json ElementToJson(const ElementRecord& element);

}  // namespace notavera
