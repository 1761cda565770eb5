// The rhythmic group (tuplet): its first note marked on opening, its last note marked on closing and the group's
// proportion given to every note and rest between, in the group marks of word0 and the proportion of word1.
#pragma once

namespace notavera {

class ScoreDocument;

// Opens a group of proportion num:den: the note or rest at x, or else the next one entered, is its first; the notes
// entered until it closes take its proportion. True when the note or rest at x was marked.
bool OpenRhythmicGroup(ScoreDocument& doc, int x, unsigned num, unsigned den);

// Closes the open group (opened by G, or found open on a group note the cursor landed on) on the last note or rest
// at or before x, with the proportion num:den. A group no note was entered in closes without a mark. True when
// notes were marked.
bool CloseRhythmicGroup(ScoreDocument& doc, int x, unsigned num, unsigned den);

}  // namespace notavera
