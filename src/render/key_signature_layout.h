// Where the accidentals of a key signature go: their order, the octave each one is written in under the clef in
// force, so that the signature zigzags within the staff as engravers write it, and how far apart they stand.
#pragma once

#include <string_view>

#include "score/record_fields.h"

namespace notavera {

inline constexpr int MaxKeyAccidentals = 7;

// One accidental of a key signature: its note name (1 C … 7 B) and octave (4 from middle C).
struct KeyAccidentalPitch {
    int step = 0;
    int octave = 0;
    friend bool operator==(const KeyAccidentalPitch&, const KeyAccidentalPitch&) = default;
};

// The `position`-th accidental (0-based, 0–6) of a key of sharps or flats under a clef value (ClefValueOfClef).
// Sharps are written F C G D A E B, flats B E A D G C F. A kind of None gives step 0.
KeyAccidentalPitch KeyAccidentalAt(KeyKind kind, int position, int clefValue);

// The glyph code of an accidental of that kind: 211 sharp, 213 flat.
int KeyAccidentalCode(KeyKind kind);

// The music fonts' accidentals have no side bearings: each accidental of a key signature advances its width
// (`accidentalWidth`, the sharp's on the staff) and a small gap, so that neighbours do not touch.
int KeyAccidentalAdvance(int accidentalWidth, int staffSpace);

// The same on a normal staff of half space `stepUnit`, measured on the music font of the document's face `face`,
// for work done without a drawing context (building a score). A font that cannot be read counts a sharp one staff
// space wide.
int KeyAccidentalAdvanceOnFont(std::string_view face, int stepUnit);

// Where a staff's own key signature is written when its line shows no clef to measure from: 8 step units in from
// the staff's left edge (one more for the old notation, whose clefs are wider). The x after it leaves 6 step units
// before the music.
int LineStartKeyX(int leftEdge, int stepUnit, bool oldNotation);
int LineStartKeyEnd(int keyStart, int count, int accidentalAdvance, int stepUnit);

}  // namespace notavera
