// What copy and the deletions leave for later: the recorded copy source and the elements the last deletion
// removed.
#pragma once

#include <vector>

#include "edit/element_runs.h"
#include "shell/zone.h"

namespace notavera {

// Where the copy source lies, and what it held when it was copied. Paste refuses a source that changed since:
// indices alone cannot tell a deleted note from the neighbour that closed up in its place.
struct CopyRecord {
    int page = 0;  // the copy source page; 0 while nothing is recorded
    std::vector<ZoneSpan> spans;  // the source's staves; `first` follows the source when music before it moves it
    ElementRuns source;
    bool recorded() const { return page != 0; }
};

struct CopyState {
    CopyRecord copy;
    ElementRuns erased;  // what the last deletion removed, put back by erase recovery
};

}  // namespace notavera
