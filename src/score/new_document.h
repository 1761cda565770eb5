// Setting up the pages of a new document from its staff layout model.
#pragma once

#include "score/score_document.h"

namespace notavera {

// Gives the document pageCount empty pages (1–255; other counts are brought into that range) laid out by
// its staff layout model, all held in memory, and puts it on the first staff of page 1 without a current
// element. The spacing step follows the model's staff size. The document is not modified afterwards.
void SetUpNewDocument(ScoreDocument& doc, int pageCount);

}  // namespace notavera
