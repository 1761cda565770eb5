// The collection pass of playback: the notes and rests of one staff become records with a MIDI key and a
// duration in ticks, with meters, proportions, whole-bar rests, ties, appoggiaturas and staccato taken into
// account.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <vector>

#include "midi/meter_rules.h"
#include "midi/playback_event.h"
#include "score/records.h"

namespace notavera {

struct CollectionSettings {
    bool appoggiaturas = false;        // "Orn=Appoggiature": ornament notes are played as appoggiaturas
    bool metersAsProportions = false;  // "Mesure=Proportion"
};

// The elements of a staff that are played: those whose x lies within [left, right].
struct XRange {
    int left = INT_MIN;
    int right = INT_MAX;
    bool contains(int x) const { return x >= left && x <= right; }
};

// The MIDI key of a note: its name, its own accidental (the only alteration applied), its octave and octave
// shift, and the transposition of its voice; a key outside 0–127 is brought into range by whole octaves.
// Nothing for a note name outside 1–7.
std::optional<std::uint8_t> NoteKey(const ElementRecord& note, int transposition);

// Appends the records of staff `staffIndex` of the page, in staff order, to `events`. The measure (bar
// length and proportion) comes from the staves before and is left as the staff's meters set it.
// A tie joins a note to the note of the same key in the chord (or single note) right before it, with no rest
// between: the continuation becomes a silent `held` record through which the tie's first note sounds on. A curve
// between notes further apart is a slur and changes nothing. Ties that cross the staff's ends are marked with
// tie_link for the track writer.
// `carry` is the fraction of a tick the staff starts with, left as the staff ends it: the track passes it on to
// the staff that continues the line, so that lines of tuplets do not lose a fraction of a tick each.
void CollectStaffEvents(const PageRecord& page, int staffIndex, XRange range, int transposition,
                        const CollectionSettings& settings, BarMeasure& measure, double& carry,
                        std::vector<PlaybackEvent>& events);

}  // namespace notavera
