// The JSON picture of a document that `notavera-cli info` prints and scripts dump: the header, every
// page with its staves and, on request, every element with its raw words and decoded fields.
#pragma once

#include <nlohmann/json.hpp>

#include "score/records.h"

namespace notavera {

class ScoreDocument;
class UiServices;

// Lists every page of the document: pages outside the memory window are read from the working file,
// the window and the current place staying where they are. The listing stops at a page that cannot be read
// (message 9).
nlohmann::json DocumentToJson(const ScoreDocument& doc, UiServices& ui, bool elements);

// One element: raw words, then the decoded fields of a note, a rest or a sign.
nlohmann::json ElementToJson(const ElementRecord& element);

}  // namespace notavera
