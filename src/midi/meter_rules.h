// What a time signature means to playback: the bar length and proportion it sets while notes are collected,
// and the time signature the conductor track announces.
#pragma once

#include <cstdint>
#include <optional>

#include "score/records.h"

namespace notavera {

// The current bar length in ticks and the proportion p:q in force.
struct BarMeasure {
    float barLength = 1024.0f;
    unsigned p = 1;
    unsigned q = 1;
};

// Applies a time signature sign to the measure. Symbolic meters set a whole-note bar (codes 0, 1, 2, 4) or a
// dotted whole in proportion 3:2 (codes 3, 5); numeric meters n/d set n × 1024 ÷ d, and with
// metersAsProportions also the proportion n:d. A proportion other than 1:1 then scales the bar by q ÷ p.
void ApplyMeter(const ElementRecord& meter, bool metersAsProportions, BarMeasure& measure);

struct MidiTimeSignature {
    std::uint8_t numerator = 4;
    std::uint8_t denominatorExponent = 2;  // the denominator as a power of two
};

// The time signature announced for a meter sign: n/d with a denominator of at least 4 (both doubled while it
// is smaller), or 4/4, 8/4, 12/4 for the symbols 0–1, 2, 3. Other symbols announce nothing.
std::optional<MidiTimeSignature> MeterTimeSignature(const ElementRecord& meter);

// The ticks a note or rest is written for: its value, dots and tuplet ratio (no proportion).
double WrittenTicks(const ElementRecord& e);

// The first time signature of the staff, if any.
const ElementRecord* FirstMeter(const StaffRecord& staff);

}  // namespace notavera
