// Alignment of the staves of a block on a common grid of time slots ("matrice auto"): the current staff's notes
// fix the slots' positions, every other staff takes them.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace notavera {

struct StaffRecord;

struct AlignSettings {
    int stepUnit = 10;
    int tolerance = 0;        // elements this close after a note keep their distance to it
    int lineLength = 0;       // no slot lies beyond it
    bool afterRespacing = false;  // the block was just respaced: slots past the music get one step unit each
    bool cueAsFull = false;   // cue notes count as full values (the user's answer to the question about them)
};

struct AlignResult {
    bool aligned = false;            // false when there was nothing to align or the grid overflowed
    std::vector<int> unfinished;     // staves (indexes into the block) whose notes do not end on the last slot
};

// Aligns `staves` (a block) on the slots of `staves[current]`. Only `x` changes; each staff keeps its order.
AlignResult AlignBlock(std::span<StaffRecord* const> staves, std::size_t current, const AlignSettings& settings);

// The list that reports unfinished staves: "{voice,position} " for each.
std::string UnfinishedStavesText(std::span<StaffRecord* const> staves, const std::vector<int>& unfinished);

}  // namespace notavera
