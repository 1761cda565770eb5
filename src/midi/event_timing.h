// The timing pass of playback: collected notes and rests, in order of position, are cut into time slices and
// become note-on, note-off and silent records at absolute ticks, in the order they are written.
#pragma once

#include <vector>

#include "midi/playback_event.h"

namespace notavera {

// A slice holds at most one note group (a chord or a single note, or a rest) of each staff: the next group of a
// staff always opens a new slice, however close it stands. A group of another staff joins the slice when it
// stands within `tolerance` page units after the slice's first record. A new slice starts at the earliest end
// of what is still sounding or resting. Returns the timed records sorted by time, note-offs first among equal
// times; tie_link marks travel to the note-on and note-off of their note.
std::vector<PlaybackEvent> TimeEvents(std::vector<PlaybackEvent> collected, int tolerance);

}  // namespace notavera
