// Measure numbers written at the start of every line, and erased: text signs of the type "No mes." that say which
// measure the line begins with.
#pragma once

#include "render/staff_metrics.h"
#include "score/records.h"

namespace notavera {

// A numbering under way over consecutive pages: the measures counted so far and the offset added to each number.
struct MeasureNumbering {
    int counter = 0;
    int offset = 0;
};

// Each line of the page, through its first staff (the first of its group, or a staff alone): its old measure
// number goes; unless erasing, a new one is written at its first note (its first element when it has no note)
// with the number counter + offset, except on the first line of a numbering without offset, which only starts the
// count at 1; then the line's measures are counted (MeasuresOfLine). Sizes and heights follow the staff's size in
// `metrics`. Returns how many texts were written or removed.
int NumberMeasuresOfPage(PageRecord& page, const StaffMetrics& metrics, MeasureNumbering& numbering, bool erase);

// The measure-number text of a staff of the given size: "%d", italic, in the table's second font, five half spaces
// high, its lower edge half a space over the staff.
ElementRecord MeasureNumberText(int x, int number, const StaffMetrics& metrics, bool smallStaff);

}  // namespace notavera
