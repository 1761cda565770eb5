// The staff an element is drawn on, as the drawing pass placed it: its reference height, the lines of its
// (virtual) five-line staff, the extent of its drawn lines and the metrics of its size.
#pragma once

#include <optional>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

struct StaffFrame {
    int index = 0;       // the staff's index on the page
    int reference = 0;   // the height every vertical offset of the staff counts from
    int lines = 5;
    bool small = false;
    int halfSpace = 10;
    int staffSpace = 20;
    int staffHeight = 80;
    int extentTop = 0;     // the drawn top line (a single line: one space above it)
    int extentBottom = 0;  // the drawn bottom line (a single line: one space below it)

    // Lines of the five-line staff the elements count from, whatever the number of lines drawn.
    int topLine() const { return reference - staffHeight; }
    int middleLine() const { return topLine() - 2 * staffSpace; }
    int bottomLine() const { return topLine() - staffHeight; }
};

// The frame of staff `index` of the pass; nullopt when the pass has not placed it.
std::optional<StaffFrame> FrameOfStaff(const DrawingContext& dc, int index);

// The frame an element of `staff` is drawn in: its own staff's, or the staff above or below when the element is
// placed there (when that neighbour exists).
std::optional<StaffFrame> FrameOfElement(const DrawingContext& dc, const StaffRecord& staff,
                                         const ElementRecord& element);

// The height of a pitched element (step 1–7, octave 0–7) in the frame, under the clef in force at x on the frame's
// staff: an element placed on a neighbour staff is read in that staff's clef.
int PitchHeight(const DrawingContext& dc, const StaffFrame& frame, int x, int step, int octave);

}  // namespace notavera
