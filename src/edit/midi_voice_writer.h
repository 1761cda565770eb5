// Writing the notes of one imported MIDI voice on a staff: rests where it is silent, notes and chords cut at the bar
// lines and tied, each piece written in the values of the import grid.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "guido/gmn_line_cuts.h"
#include "guido/gmn_note_values.h"
#include "midi/import_grid.h"
#include "midi/midi_note_collector.h"
#include "score/score_document.h"

namespace notavera {

struct MidiVoiceLayout {
    unsigned division = 480;
    unsigned rounding = 64;
    std::int64_t barTicks = 1920;
    std::int64_t firstBarTicks = 1920;  // shorter for an upbeat
    unsigned meterNumerator = 4;
    unsigned meterDenominator = 4;
    std::optional<int> key;             // sharps (positive) or flats
    bool numberedBars = false;
    // Where every voice ends: a voice that falls silent earlier rests until there, so that its bars stay whole.
    std::int64_t endTick = 0;
};

// The values that write `ticks` of a voice, whose exact length in whole notes is `exact`: the plain values the
// grid takes off, merged into a dotted value where they make one, then the grid entry left as a plain, triplet,
// dotted, quintuplet or double-dotted value; none when these do not make the length exactly.
std::optional<std::vector<GmnWrittenValue>> MidiWrittenValues(std::int64_t ticks, const GmnRational& exact,
                                                              const ImportGrid& grid, unsigned rounding);

// Writes `notes` (one voice, by onset) on the current staff of `doc`, from its start, and returns what the layout
// needs to know of them.
GmnSequenceTimes WriteMidiVoice(ScoreDocument& doc, const std::vector<ImportNote>& notes,
                                const MidiVoiceLayout& layout);

}  // namespace notavera
