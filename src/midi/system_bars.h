// The bars of a system as playback and engraving read them: a bar line drawn on one staff divides every staff of
// its system, and a whole-bar rest stands for its bar, wherever in it it is drawn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "score/records.h"

namespace notavera {

// Where an element is heard from: its x moved by its fine offset, kept within the positions a page can hold.
std::int32_t HeardX(const ElementRecord& e);

// Whether a note or rest is written as an undotted whole: a rest of that value lasts the length of the bar it fills.
bool IsUndottedWhole(const ElementRecord& e);

// Whether a rest is a whole-bar rest: a whole rest or a longer one that is the only note or rest of its bar.
bool IsWholeBarRest(const ElementRecord& e, int notesInItsBar);

// The staves (first, last) of the system that holds staff `index`, by the position and size its voice word records.
std::pair<int, int> SystemOfStaff(const PageRecord& page, int index);

// The x of every bar line of the system that holds staff `index`, sorted: a bar drawn on one staff divides them all.
std::vector<int> SystemBarLines(const PageRecord& page, int index);

// Which bar of a system (cut at `bars`) x falls in: 0 before the first bar line.
std::size_t BarIndex(const std::vector<int>& bars, int x);

// How many notes and rests the staff holds in each bar of its system (cut at `bars`).
std::vector<int> NotesPerBar(const StaffRecord& staff, const std::vector<int>& bars);

// For each bar of the system of staff `index` (cut at `bars`), the earliest place at which the system plays in it,
// leaving out the whole-bar rests, which mark no time of their own; in a bar where every staff has one, the
// earliest of them. INT32_MAX for a bar with no note or rest.
std::vector<std::int32_t> SystemBarStarts(const PageRecord& page, int index, const std::vector<int>& bars);

}  // namespace notavera
