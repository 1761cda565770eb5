// Bar lengths, proportions and announced time signatures of meter signs.
#include "midi/meter_rules.h"

#include <algorithm>
#include <cmath>

namespace notavera {

namespace {

// Display flags of a time signature, in its sign word.
constexpr unsigned numericBit = 17;       // drawn as n/d
constexpr unsigned threeHalvesBit = 18;   // a meter in proportion 3:2
constexpr unsigned symbolicBit = 23;      // drawn as a symbol (C, cut C and the like)

bool signBit(const ElementRecord& e, unsigned bit) { return ((e.typeWord >> bit) & 1u) != 0; }

constexpr float wholeNote = 1024.0f;
constexpr float dottedWhole = 1536.0f;

}  // namespace

void ApplyMeter(const ElementRecord& meter, bool metersAsProportions, BarMeasure& m) {
    const unsigned symbol = meter.signWord().subValue();
    const bool symbolic = signBit(meter, symbolicBit);
    if (symbolic && (symbol <= 2 || symbol == 4)) {
        m = BarMeasure{wholeNote, 1, 1};
    } else if ((symbolic && (symbol == 3 || symbol == 5)) || signBit(meter, threeHalvesBit)) {
        m = BarMeasure{dottedWhole, 3, 2};
    } else if (signBit(meter, numericBit)) {
        const unsigned n = std::max(meter.w1().numerator(), 1u);
        const unsigned d = std::max(meter.w1().denominator(), 1u);
        m.barLength = static_cast<float>(n * 1024 / d);
        // Without proportions a numeric meter also ends the proportion of an earlier symbolic meter: its bar
        // is exactly n/d.
        m.p = metersAsProportions ? n : 1;
        m.q = metersAsProportions ? d : 1;
    } else {
        return;  // a meter without a known form leaves the measure as it was
    }
    if (m.p != m.q) m.barLength = m.barLength * static_cast<float>(m.q) / static_cast<float>(m.p);
}

std::optional<MidiTimeSignature> MeterTimeSignature(const ElementRecord& meter) {
    if (signBit(meter, numericBit)) {
        unsigned n = std::max(meter.w1().numerator(), 1u);
        unsigned d = std::max(meter.w1().denominator(), 1u);
        while (d < 4) {
            n *= 2;
            d *= 2;
        }
        std::uint8_t exponent = 0;
        while ((d >> (exponent + 1)) != 0) ++exponent;
        // A numerator doubled past one byte is announced as the largest the event can hold.
        return MidiTimeSignature{static_cast<std::uint8_t>(std::min(n, 255u)), exponent};
    }
    switch (meter.signWord().subValue()) {
        case 0:
        case 1: return MidiTimeSignature{4, 2};
        case 2: return MidiTimeSignature{8, 2};
        case 3: return MidiTimeSignature{12, 2};
        default: return std::nullopt;
    }
}

double WrittenTicks(const ElementRecord& e) {
    const auto nw = e.noteWord();
    double value = std::ldexp(256.0, 4 - static_cast<int>(nw.durationCode()));
    if (nw.dots() == 1) value *= 1.5;
    if (nw.dots() >= 2) value *= 1.75;
    const unsigned n = e.w1().numerator(), m = e.w1().denominator();
    if (n != m && n != 0 && m != 0) value = value * m / n;
    return value;
}

const ElementRecord* FirstMeter(const StaffRecord& staff) {
    const auto it = std::find_if(staff.elements.begin(), staff.elements.end(),
                                 [](const ElementRecord& e) { return e.isSignOfType(SignType::TimeSignature); });
    return it == staff.elements.end() ? nullptr : &*it;
}

}  // namespace notavera
