// The records playback builds for one staff (or one system of merged staves): first the notes and rests with
// their durations, then, after timing, the note-on, note-off and silent records of the track.
#pragma once

#include <cstdint>

namespace notavera {

struct PlaybackEvent {
    std::uint32_t time = 0;     // while collecting: the duration in ticks; after timing: the tick from the start
    std::int32_t position = 0;  // while collecting: x of the element; after timing: 1 on a note-off with a gap
    std::uint8_t kind = 0;      // see event_kind
    std::uint8_t key = 0;       // MIDI key number
};

namespace event_kind {
// While collecting: a note or a rest, plus the marks that change how long a note sounds.
inline constexpr std::uint8_t note = 0;
inline constexpr std::uint8_t rest = 1;
inline constexpr std::uint8_t shortened = 2;      // staccato, or a tie end without its start
inline constexpr std::uint8_t appoggiatura = 10;  // an ornament note played before the beat's note
// After timing.
inline constexpr std::uint8_t noteOn = 144;
inline constexpr std::uint8_t noteOff = 128;
inline constexpr std::uint8_t filler = 1;  // silent time, carried to the next sounding event

inline constexpr bool isRest(std::uint8_t kind) { return kind == rest; }
inline constexpr bool isAppoggiatura(std::uint8_t kind) { return kind >= appoggiatura; }
}  // namespace event_kind

// Position value of a note-off followed by an articulation gap (staccato, appoggiatura): the gap belongs to
// the note's written length, so the next time slice does not start at this note-off.
inline constexpr std::int32_t noteOffWithGap = 1;

}  // namespace notavera
