// A system of many staves drawn smaller, so that one page holds it.
#pragma once

#include <cstddef>

namespace notavera {

class ScoreDocument;
struct PageRecord;

// Distances from the top of one staff to the top of the next in a laid-out piece, in staff spaces.
namespace system_spacing {
inline constexpr unsigned topDistance = 10;          // the first staff, from the top of the page
inline constexpr unsigned withinSystem = 10;         // between the staves of one system
inline constexpr unsigned betweenSystems = 14;       // from the last staff of a system to the first of the next
inline constexpr unsigned betweenSingleStaves = 13;  // systems of one staff each
inline constexpr unsigned lineCount = 5;
}  // namespace system_spacing

// The staff size shrinks until systems of `staves` staves sit well on the page, the model's distances growing in step
// so that the page keeps its height; the document's step unit follows the new size. A system of many staves shrinks
// until its staves stand a roomy distance apart. A system of a few staves that leaves a third of a system's height
// empty at the foot of the page shrinks, by a quarter at most, so that one more system fits, as engravers set a
// chamber score. Nothing changes for systems that sit well already. `plainSystems` says the systems hold one voice
// a staff and no lyric lines, whose height is then known well enough to win the one more system.
void FitStavesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t staves, bool plainSystems);

}  // namespace notavera
