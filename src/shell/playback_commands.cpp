// The choice of the last page for playing and saving the score as MIDI.
#include "shell/playback_commands.h"

#include <algorithm>

#include "shell/command_ids.h"

namespace notavera {

LastPageChoice ChooseLastPage(int command, int pageCount, int markerPage, bool regionMarked) {
    if (command != cmd::Play && command != cmd::PlayCurrentVoice) return {pageCount, markerPage};
    LastPageChoice choice{pageCount, markerPage};
    if (!regionMarked && markerPage > 0) {
        choice.lastPage = std::min(markerPage, pageCount);
        choice.markerPage = 0;
    }
    if (command == cmd::PlayCurrentVoice && !regionMarked) choice.lastPage = -choice.lastPage;
    return choice;
}

}  // namespace notavera
