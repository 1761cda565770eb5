// Where the texts of an imported piece stand once its pages are laid out: each clear of the music and of the
// other texts, lyrics one line a verse under their staff, headings at the head of the first page.
#pragma once

#include <vector>

#include "guido/gmn_texts.h"
#include "score/score_document.h"

namespace notavera {

// For every page in memory, in the order of its staves: the lyrics of each staff make one line, the verses of
// staves drawn at one height one under the other, as near under the staff as the ink there allows; every other text
// goes to its side of the staff (the side its parameter's sign gives; dynamics go above a staff whose notes carry
// lyrics), as near as it can to the staff without touching a note, a stem, a staff or a text placed before it. A text
// under a staff with lyrics stands on their line, in front of them (a verse's label). The headings go on the
// first staff of page 1: the titles centred over the line, one under the other from the head of the page, the
// composer lines at its right end.
void PlaceImportedTexts(ScoreDocument& doc, const std::vector<GmnText>& headings);

}  // namespace notavera
