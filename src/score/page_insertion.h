// Putting a new page between two pages of the score: in the page table and the stored page numbers of the working
// file, and in the pages in memory.
#pragma once

#include "score/score_document.h"

namespace notavera {

class UiServices;

// Inserts `page` after page `after`, which must be in memory, as page `after` + 1 and makes it current (first
// staff, no element). The pages after it take the next number, in the page table, in the numbers stored in the
// working file and in memory. The pages in memory are saved first when modified and again at the end, with the
// new page at the end of the data; the window slides to the new page when it would hold more pages than it keeps.
// False, with the score unchanged, at 255 pages, when `after` is not a page in memory, or when the first save
// fails (it has said why).
bool InsertPageOfScore(ScoreDocument& doc, UiServices& ui, int after, PageRecord page);

}  // namespace notavera
