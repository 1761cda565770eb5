// The meaning of the arguments of the GUIDO tags that become signs: clef strings, key arguments and meters.
#pragma once

#include <optional>
#include <string>

#include "guido/gmn_callbacks.h"

namespace notavera {

struct GmnClef {
    unsigned number = 7;  // the clef number of the score (1 treble … 12 percussion)
    int line = 0;         // the line digit written in the string, 0 when none
};

// The clef of a "\clef" string; nothing for "none", which asks for no clef.
std::optional<GmnClef> GmnClefFromString(const std::string& text);

// The key of a "\key" argument: sharps (positive) or flats (negative), −7…7. An integer is the count itself;
// a key name of at most two characters is a major key (upper case) or its relative minor (lower case).
int GmnKeyCount(const GmnTagArguments& args, int k);

// A time signature: numerals, or a symbol (C, cut C).
struct GmnMeter {
    bool symbol = false;
    unsigned symbolStyle = 0;  // 0 C, 1 cut C
    unsigned numerator = 0;
    unsigned denominator = 0;
};

// The time signature of a "\meter" string: "C", "C/", "n/d" and the added numerators of "3+2/8";
// nothing for what no time signature of the score can show.
std::optional<GmnMeter> GmnMeterFromString(const std::string& text);

}  // namespace notavera
