// Slurs: opened on the note at an x (or the next note entered), closed on the note at or before an x, and refused
// where the note flags cannot carry them.
#pragma once

#include <optional>

namespace notavera {

class ScoreDocument;
class UiServices;

// Where a slur was opened: its end must come later in the same voice.
struct SlurStart {
    int page = 0;
    int staff = 0;
    unsigned voice = 0;
};

// Opens the slur on the note at x, or else on the next note entered. Returns where it starts; nothing, with
// nothing changed, without a current staff or while a slur is open.
std::optional<SlurStart> OpenSlur(ScoreDocument& doc, int x);

// Closes the open slur, opened at `start`, on the last note at or before x. Refused with message 18 "Employez
// liaison libre", with nothing changed, when no slur is open, when no note has begun it yet, when there is no note
// to end it on this staff after its start, or when its start lies in another voice or on a later line: such a
// curve is a free slur.
void CloseSlur(ScoreDocument& doc, UiServices& ui, int x, const SlurStart& start);

}  // namespace notavera
