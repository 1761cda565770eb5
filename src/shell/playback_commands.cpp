// The choice of the last page for playing and saving the score as MIDI.
#include "shell/playback_commands.h"

#include <algorithm>

namespace notavera {

LastPageChoice ChooseLastPage(int command, int pageCount, int markerPage, bool regionMarked) {
    if (command != commandPlay && command != commandPlayCurrentVoice) return {pageCount, markerPage};
    LastPageChoice choice{pageCount, markerPage};
    if (!regionMarked && markerPage > 0) {
        choice.lastPage = std::min(markerPage, pageCount);
        choice.markerPage = 0;
    }
    if (command == commandPlayCurrentVoice && !regionMarked) choice.lastPage = -choice.lastPage;
    return choice;
}

}  // namespace notavera
