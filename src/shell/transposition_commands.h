// The transposition commands: a passage moved in pitch (by degrees or by key), in duration, or in space, on the
// marked region or, without one, on the current voice up to the page marker.
#pragma once

namespace notavera {

class CommandRegistry;

// What a transposition dialog offers again: the last count and the direction chosen with it.
struct TranspositionChoice {
    int count = 0;          // 0 until a count is given
    int direction = 0;      // 0 no button chosen yet, 1 the upward (or adding, or faster) one, -1 the other
    int signedCount() const { return direction < 0 ? -count : count; }
};

struct TranspositionMemory {
    TranspositionChoice degrees;    // "TranspHaut"
    TranspositionChoice durations;  // "TranspDurees"
    TranspositionChoice spaces;     // "TransposEsp"
};

void RegisterTranspositionCommands(CommandRegistry& registry);

}  // namespace notavera
