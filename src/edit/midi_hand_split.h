// The voices of an imported MIDI file in staff order, a keyboard part read from one voice split into its two hands.
#pragma once

#include <map>
#include <vector>

#include "midi/midi_note_collector.h"

namespace notavera {

// The voices by voice number, each becoming a staff. A voice that plays both hands at once (chords that often
// span more than two octaves) is written on two staves as a pianist reads it: the keys from middle C up on the
// first, those below on the second.
std::vector<std::vector<ImportNote>> VoicesInStaffOrder(const std::map<int, std::vector<ImportNote>>& voices);

}  // namespace notavera
