// Reading a MIDI file for its import: the notes of every track collected with their onsets and durations rounded
// to the import grid, each in its voice, and the file's key and time signature.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace notavera {

struct ImportNote {
    std::int64_t onset = 0;     // rounded onset, ticks of the file
    std::int64_t rawOnset = 0;  // the onset as the file gives it
    std::int64_t duration = 0;  // rounded duration, once the note-off was seen
    int key = 0;
    int voice = 0;
    bool closed = false;
    int channel = 0;
};

// How the import pass ended, each with the message its caller shows.
enum class MidiReadStatus {
    Ok,
    NotMidi,                  // string 9 (also a file that cannot be read); nothing collected
    TooManyNotes,             // string 38; nothing is built
    UnexpectedRunningStatus,  // string 37; the notes read so far are kept
    UnexpectedMessage,        // string 9; the notes read so far are kept
};

// The table holds at most this many notes; a file with more is refused.
inline constexpr std::size_t midiImportMaxNotes = 65535;

struct MidiImportReading {
    MidiReadStatus status = MidiReadStatus::NotMidi;
    unsigned format = 0;
    unsigned tracks = 0;
    unsigned division = 0;   // ticks per quarter note, as the import counts them
    std::vector<ImportNote> notes;
    std::optional<int> key;  // sharps (positive) or flats of the last key signature
    // The last time signature of the first track (numerator, denominator exponent), and of the whole file.
    std::optional<std::pair<unsigned, unsigned>> firstTrackMeter;
    std::optional<std::pair<unsigned, unsigned>> meter;
};

// `rounding`: 32, 64, 128 or 256. Voices: in a file of several tracks that hold music, each track is a voice (the
// first two tracks share voice 0 when the first, the tempo track, holds no notes); a file whose music is in one track, format 0
// above all, takes a voice for each MIDI channel.
MidiImportReading ReadMidiForImport(std::span<const std::uint8_t> bytes, unsigned rounding,
                                    std::size_t maxNotes = midiImportMaxNotes);

}  // namespace notavera
