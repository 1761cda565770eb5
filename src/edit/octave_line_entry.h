// Octave lines over a region: the notes written an octave or two away from where they sound, marked with the
// line's code, and the label sign that starts the line.
#pragma once

#include "edit/region_attributes.h"
#include "score/records.h"

namespace notavera {

// Octave-line codes: 0 none, 1 8va alta, 2 15ma alta, 3 8va bassa, 4 15ma bassa.
inline constexpr unsigned lastOctaveLineCode = 4;

// How many octaves the notes of a line of `code` are written below where they sound (negative: above).
int OctaveLineShift(unsigned code);

// A sign that carries an octave-line code: the label the line starts with.
bool IsOctaveLineLabel(const ElementRecord& e);

// The measures of the staff the label is made for, in page units.
struct OctaveLabelMeasures {
    int staffSpace = 20;
    int staffHeight = 80;
};

// Puts the notes of the span under a line of `code` (1–4), or with 0 takes them out of their line. A note already
// under a line first returns to the octave it sounds in; labels at the start of the span make way for the new
// one, which stands at the first element's x when the span holds a note. Returns the span's new last index.
int OctaveLine(StaffRecord& staff, const RegionSpan& span, unsigned code, const OctaveLabelMeasures& measures);

}  // namespace notavera
