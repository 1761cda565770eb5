// Making the page after a given one available in memory: the next page of the score read into the window, or a
// new last page with the staves of the page before it.
#pragma once

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Page `number` + 1 in memory: already there, read from the working file when the window ends at `number`, or
// appended when `number` is the score's last page (empty staves with the words of page `number`, the
// indentation of first lines cleared). Null when none of these is possible (the window does not reach it, the
// page cannot be read, or the score already has its 255 pages). Appending or reading moves the pages in
// memory: references to pages taken before are no longer valid.
PageRecord* PageAfter(ScoreDocument& doc, UiServices& ui, int number);

// An empty page numbered `number` with the staves and words of `model`, the indentation of first lines cleared.
PageRecord NewPageLike(const PageRecord& model, int number);

}  // namespace notavera
