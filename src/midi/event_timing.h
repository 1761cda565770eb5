// The timing pass of playback: collected notes and rests, in order of position, are cut into time slices and
// become note-on, note-off and silent records at absolute ticks, in the order they are written.
#pragma once

#include <vector>

#include "midi/playback_event.h"

namespace notavera {

// Records whose positions lie within `verticalTolerance` of the previous one share its time slice; a new
// slice starts after the shortest duration of the slice, or earlier at a note-off still pending. Returns the
// timed records sorted by time, note-offs first among equal times.
std::vector<PlaybackEvent> TimeEvents(std::vector<PlaybackEvent> collected, int verticalTolerance);

}  // namespace notavera
