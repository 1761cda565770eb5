// The voices of an imported MIDI file in staff order, a keyboard part read from one voice split into its two hands.
#include "edit/midi_hand_split.h"

#include <algorithm>

namespace notavera {

namespace {

constexpr int middleC = 60;
constexpr int percussionChannel = 9;  // its keys name instruments, not pitches
constexpr int twoOctaves = 24;
// One chord in this many spanning both hands marks a keyboard part.
constexpr std::size_t handsEvery = 10;

// Whether the notes (by onset) sound both hands at once often enough to be read as a keyboard part.
bool PlaysBothHands(const std::vector<ImportNote>& notes) {
    if (std::any_of(notes.begin(), notes.end(), [](const ImportNote& n) { return n.channel == percussionChannel; }))
        return false;
    std::size_t chords = 0, wide = 0;
    for (std::size_t i = 0; i < notes.size();) {
        std::size_t j = i;
        int low = notes[i].key, high = notes[i].key;
        for (; j < notes.size() && notes[j].onset == notes[i].onset; ++j) {
            low = std::min(low, notes[j].key);
            high = std::max(high, notes[j].key);
        }
        if (j - i > 1) {
            ++chords;
            if (high - low > twoOctaves && low < middleC && high >= middleC) ++wide;
        }
        i = j;
    }
    return wide > 0 && wide * handsEvery >= chords;
}

}  // namespace

std::vector<std::vector<ImportNote>> VoicesInStaffOrder(const std::map<int, std::vector<ImportNote>>& voices) {
    std::vector<std::vector<ImportNote>> staves;
    for (const auto& [voice, notes] : voices) {
        if (!PlaysBothHands(notes)) {
            staves.push_back(notes);
            continue;
        }
        std::vector<ImportNote> right, left;
        for (const ImportNote& n : notes) (n.key >= middleC ? right : left).push_back(n);
        staves.push_back(std::move(right));
        staves.push_back(std::move(left));
    }
    return staves;
}

}  // namespace notavera
