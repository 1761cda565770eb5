// Taking one page out of the score: from the page table and the stored page numbers of the working file, and from
// the pages in memory.
#pragma once

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Deletes page `number` of a score of two pages or more. The pages in memory are saved to the working file first;
// the page after it (the one before, for the last page) becomes current, under its new number. False, with the
// score unchanged, when the number is out of range, the score has a single page, or the save or the slide to the
// neighbour fails (they have said why).
bool DeletePageOfScore(ScoreDocument& doc, UiServices& ui, int number);

}  // namespace notavera
