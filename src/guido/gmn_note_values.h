// How a GUIDO duration is written with the score's note values: plain binary values, or one plain value
// with the tuplet proportion that makes it last exactly the duration.
#pragma once

#include <vector>

#include "guido/gmn_rational.h"

namespace notavera {

struct GmnWrittenValue {
    unsigned code = 4;         // duration code 0 (longa) … 10 (1/256)
    unsigned tupletNum = 1;    // the proportion: tupletNum notes in the time of tupletDen
    unsigned tupletDen = 1;
    unsigned dots = 0;         // a plain value of one or two dots stands for the value and its tied halves
    GmnRational length;        // what the value really lasts, in whole notes (it moves x)
};

// The values that write a duration, in order. Whole longas come first for durations beyond a longa (at most
// maxGmnPieces values in all). A duration that one value with one or two dots makes is that dotted value (3/8: a
// dotted quarter, not a quarter tied to an eighth); any other sum of binary values down to the 256th is written
// value by value, longest first. Any other duration is one plain value, the shortest not below it, with a
// proportion of at most 99:99 (1/12 → eighth 3:2, 3/104 → thirty-second 13:12); a duration no such
// proportion reaches is cut to 256ths (and is at least one 256th). A duration of 0 or less writes nothing.
std::vector<GmnWrittenValue> GmnWrittenValues(const GmnRational& duration);

// A hostile file can ask for a note of millions of whole notes; no page shows more than this many values.
inline constexpr int maxGmnPieces = 32;

}  // namespace notavera
