// What step entry from a MIDI keyboard remembers between events: the key held, the chord being struck, the
// legato group it opened and the spelling last chosen for a black key.
#pragma once

#include <cstdint>
#include <optional>

namespace notavera {

// A note entered from the keyboard, found again by its place and x when a chord or a legato group goes back to
// it.
struct MidiEnteredNote {
    int page = 0;
    int staff = -1;
    int element = -1;
    int x = 0;
};

struct MidiEntryState {
    int heldKey = -1;                 // the last key pressed; −1 before the first
    bool held = false;                // ... and it is still down
    unsigned heldDuration = 0;        // the duration code in force when it was pressed
    std::optional<std::uint32_t> lastNoteOn;  // time stamp of the last note-on, in milliseconds
    bool chordOpen = false;
    bool flatsChosen = false;         // the last black key was spelled with a flat
    unsigned savedDots = 0;           // the dots of the note before a chord, given back to its other notes
    bool legatoBeamOpen = false;      // legato playing opened a beam group that a release closes
    bool legatoSlurOpen = false;      // ... or a slur
    std::optional<MidiEnteredNote> lastEntered;
};

}  // namespace notavera
