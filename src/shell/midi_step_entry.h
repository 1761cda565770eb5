// Step entry from a MIDI keyboard: each received note, pedal, channel-pressure or pitch-bend event becomes the
// request a function key, a character or a cursor key would make, sent through the dispatch so that undo sees
// it. Runs on the window's thread, once per event drained from the input ring, in arrival order.
#pragma once

#include <cstdint>

#include "midi/midi_input_ring.h"
#include "score/accidental_context.h"

namespace notavera {

struct EditorContext;

// How a key is written: the note key 0..8 (F1 B below … F9 C above), the octave of the insertion attributes
// (4 holds middle C) and the accidental to force (0 none, 1 sharp, 2 flat, 3 natural).
struct MidiSpelling {
    int noteKey = 1;
    int octave = 4;
    int accidental = 0;
    bool altered = false;  // a sharp or a flat was chosen, before the key signature took it over
    bool flats = false;    // ... and it was a flat
};

// The spelling of MIDI key `key` struck at `velocity`: flats at or below `lowerVelocity`, sharps at or above
// `upperVelocity`, in between the last choice (`flatsBefore`) unless the key has sharps. A note the key
// signature alters drops the signature's own accidental and takes a natural otherwise.
MidiSpelling SpellMidiKey(int key, int velocity, int lowerVelocity, int upperVelocity, const KeyInEffect& keyInForce,
                          bool flatsBefore);

// One received event; never refuses one. The state lives in ctx.shell.midiEntry.
void HandleMidiInputEvent(EditorContext& ctx, const MidiInputEvent& event);

}  // namespace notavera
