// Room for lyrics: the notes of a line or block moved apart so that the syllables of a verse do not run into
// each other, and the hyphens of words centred between their syllables.
#pragma once

#include "score/score_document.h"

namespace notavera {

// The current staff's block (or the staff alone) on the current page: every note that carries a syllable
// coming closer than a step unit to the previous syllable of its verse (closer than a hyphen and two step units
// when a hyphen stands between them) or to a bar line of its staff's height moves right, with everything after it
// on the block's staves; so does a bar line coming closer than a step unit to a syllable. The hyphens are then
// centred. Returns the count of moves.
int SpaceSyllablesOfLine(ScoreDocument& doc);

// Every line of the current page that carries lyrics spaced for its syllables (`SpaceSyllablesOfLine`), then brought
// back into its line when that pushed it past the line's end or past where it was justified to end. Returns the count
// of lines that moved.
int GiveSyllablesRoomOnPage(ScoreDocument& doc);

// Every hyphen of the current page centred between the end of the syllable before it and the start of the one
// after it (the end of the staff when none follows). Returns the count of hyphens moved.
int CentreHyphensOfPage(ScoreDocument& doc);

}  // namespace notavera
