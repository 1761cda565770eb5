// Tuplet marks: the number of a rhythmic group (its proportion's numerator), alone or in a bracket, above or below
// the notes the group marks open and close, drawn once the group's closing note or rest is drawn.
#pragma once

#include <optional>
#include <string>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// A rhythmic group in a staff's list, from its first to its last note or rest, inclusive.
struct TupletRange {
    int first = 0;
    int last = 0;
};

// The group that element `index` closes (a note or rest whose group mark has its end bit; for a chord, any of its
// members). It starts at the nearest earlier element with the start bit; a group with no start on the staff was
// opened on an earlier line and starts at the staff's first note or rest.
std::optional<TupletRange> FindTupletEndingAt(const StaffRecord& staff, int index);

struct TupletMark {
    std::string digits;  // music-font codes of the number
    bool above = true;
    bool bracket = true;
    int centreX = 0;     // the number is centred on it
    int baseline = 0;
    int left = 0;        // the bracket's ends
    int right = 0;
    int bracketY = 0;    // the bracket's line, level with the number's middle
    int hook = 0;        // the ends' strokes towards the notes (signed)
    int openLeft = 0;    // the bracket leaves room for the number between these
    int openRight = 0;
    int thickness = 1;
};

// Where the mark goes. The number is the proportion's numerator of the group's first element (nothing is drawn
// for 0). It goes above the group, or below with the side bit (`word0` bits 21–22 = 1), half a space clear of
// every head, stem, beam and rest on that side and outside the staff. A group that is exactly one beam group on
// the mark's side shows its number alone, half a space beyond the beam at its middle; any other group gets a
// bracket from its first head to its last, broken around the number, with hooks half a space long towards the
// notes.
std::optional<TupletMark> LayOutTupletMark(DrawingContext& dc, const StaffRecord& staff, TupletRange range);

// Called after element `index` was drawn (after its beam group): draws the mark of the group it closes. The number
// is written centred with PutGlyphText, so that the metafile pass replays the widths its measuring pass took.
void DrawTupletMarkEndingAt(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
