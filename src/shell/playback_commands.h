// The last page of the three MIDI commands of the shell, and what becomes of the page marker.
#pragma once

#include "shell/command_ids.h"

namespace notavera {

struct LastPageChoice {
    int lastPage = 0;    // as WriteScoreMidi takes it: negative for the voice of the current staff alone
    int markerPage = 0;  // the page marker afterwards (0: removed)
};

// The play commands play to the page marker when one is set and no region is marked (the marker is then
// used up), else to the last page; the current voice alone is asked by a negative last page unless a region
// decides what is played. Saving always writes to the last page and leaves the marker alone.
LastPageChoice ChooseLastPage(int command, int pageCount, int markerPage, bool regionMarked);

}  // namespace notavera
