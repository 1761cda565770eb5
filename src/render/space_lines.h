// Respacing of a line: the x of every element of one staff, or of the staves of one block taken together, from
// the durations of the notes, the room of the signs and the spacing settings.
#pragma once

#include <span>

#include "render/spacing_settings.h"

namespace notavera {

struct StaffRecord;

enum class SpacingMode {
    Raw,        // one pass with the given step
    Optimised,  // passes with a corrected step until the line ends close to the line length
};

struct SpacingResult {
    int step = 0;       // the step the line was spaced with ("Taille du Pas" after an optimised respacing)
    int stepCount = 0;  // steps the last pass used
    int lastX = 0;      // x of the last element walked
};

// Respaces `staves` as one line: only `x` changes; every element stays, in its order. Settings that clefs and
// time signatures change on the way (reference value, polyphony correction, step) stay in `settings`; the
// tolerance and the aesthetic correction are restored. Staves without elements leave everything unchanged.
SpacingResult SpaceLines(std::span<StaffRecord* const> staves, SpacingMode mode, SpacingSettings& settings);

}  // namespace notavera
