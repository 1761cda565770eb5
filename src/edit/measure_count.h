// Counting measures on a line: the measure-number text written at a line's start, the bar count written with a
// multi-bar rest, and the number of measures a line holds.
#pragma once

#include <optional>

#include "score/records.h"

namespace notavera {

// A measure-number text: a text sign of text type 1 and category 3.
bool IsMeasureNumberText(const ElementRecord& e);

// The decimal number a text sign holds (blanks around it allowed); nothing for any other text or element.
std::optional<int> TextNumber(const ElementRecord& e);

// The number of the first measure-number text of the staff that holds a number.
std::optional<int> MeasureNumberOf(const StaffRecord& staff);

// The bars a multi-bar rest stands for: the number of the text written with it (the nearest text holding a
// number among the signs next to it, up to the neighbouring notes, rests or bars); 1 without one.
int MultiBarRestCount(const StaffRecord& staff, int rest);

// The measures of the line whose first staff is `first`: the bar positions of its group, plus for every
// multi-bar rest of the first staff its bar count less one.
int MeasuresOfLine(const PageRecord& page, int first);

}  // namespace notavera
