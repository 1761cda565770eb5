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
    std::uint8_t tie = 0;       // see tie_link: a tie that crosses into the previous or the next line
    std::int32_t staff = 0;     // the staff (index on its page) the record comes from
    std::int32_t group = 0;     // x of its element: the notes of one staff that share it form a chord
    std::uint32_t tiedOn = 0;   // ticks of the tie continuations the note sounds on through
    bool wholeBar = false;      // a whole-bar rest: it starts with its bar, once its staff is free
};

namespace event_kind {
// While collecting: a note or a rest, plus the marks that change how long a note sounds.
inline constexpr std::uint8_t note = 0;
inline constexpr std::uint8_t rest = 1;
inline constexpr std::uint8_t shortened = 2;      // staccato
inline constexpr std::uint8_t held = 4;           // a tie continuation: its note sounds on from the tie's start
inline constexpr std::uint8_t appoggiatura = 10;  // an ornament note played before the beat's note
// After timing.
inline constexpr std::uint8_t noteOn = 144;
inline constexpr std::uint8_t noteOff = 128;
inline constexpr std::uint8_t filler = 1;  // silent time, carried to the next sounding event

// Records that take time without striking a key.
inline constexpr bool isSilent(std::uint8_t kind) { return kind == rest || kind == held; }
inline constexpr bool isAppoggiatura(std::uint8_t kind) { return kind >= appoggiatura; }
}  // namespace event_kind

// Ties across a line break: the last notes of a staff tied on, the first notes of the next staff of the voice
// that end such a tie. The track writer joins them when their keys agree.
namespace tie_link {
inline constexpr std::uint8_t fromPreviousLine = 1;
inline constexpr std::uint8_t toNextLine = 2;
}  // namespace tie_link

// Position value of a note-off followed by an articulation gap (staccato, appoggiatura): the gap belongs to
// the note's written length, so the next time slice does not start at this note-off.
inline constexpr std::int32_t noteOffWithGap = 1;

}  // namespace notavera
