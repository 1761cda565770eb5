// Which tracks a MIDI file of the score has: the conductor track and one track per voice of the system (or a
// single track for the staves of each system when all their channels agree), for all voices, for the voice
// of the current staff alone, or for a marked region.
#pragma once

#include <optional>

#include "midi/event_collection.h"
#include "score/score_document.h"

namespace notavera {

// A marked region of the current page: staves by index, elements by x (both bounds included).
struct MidiRegion {
    int firstStaff = 0;
    int lastStaff = 0;
    int leftX = 0;
    int rightX = 0;
};

enum class PlaybackMode { AllVoices, OneVoice, Region };

struct TrackPlan {
    PlaybackMode mode = PlaybackMode::AllVoices;
    int trackCount = 2;       // the conductor track included
    unsigned firstVoice = 0;  // voice of the first voice track; each further track takes the next number
    int firstPage = 1;
    int lastPage = 1;
    int startStaff = 0;       // on the first page, the walk begins at this staff
    int lastStaff = -1;       // region mode: the walk ends after this staff of the first page (−1: no bound)
    XRange range;             // region mode: the elements played on each staff
    bool mergeStaves = false; // the staves of a system go into one track
};

// The channel (0–15) a voice plays on.
unsigned VoiceChannel(ScoreDocument& doc, unsigned voice);

// The plan for writing from the current page to |lastPage| (negative: the voice of the current staff alone)
// or, with a region, for the region. Nothing when the current page has no staff.
std::optional<TrackPlan> PlanTracks(ScoreDocument& doc, int lastPage, const std::optional<MidiRegion>& region);

}  // namespace notavera
