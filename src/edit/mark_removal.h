// A slur, a beam group or a rhythmic group taken off the notes around the current element: the notes stay, their
// marks go.
#pragma once

namespace notavera {

class ScoreDocument;
class UiServices;

// The tie or slur that starts at, ends at or runs over the current note: its start and end flags are cleared
// on its two notes. A beep when there is none; true when one was removed.
bool EraseSlur(ScoreDocument& doc, UiServices& ui);

// The beam group of the current note or rest: every member loses its beam flags.
bool EraseBeam(ScoreDocument& doc, UiServices& ui);

// The rhythmic group of the current note or rest: every member loses its group marks and takes the plain
// proportion 1:1 again (so it can be deleted like any note).
bool EraseGroup(ScoreDocument& doc, UiServices& ui);

}  // namespace notavera
