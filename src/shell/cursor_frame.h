// The measures of the current page and staff that cursor movement works with: line length, step unit, staff
// start, free step, staff height and every staff's y, derived from the page's own staff words.
#pragma once

#include <optional>
#include <vector>

#include "render/geometry.h"

namespace notavera {

class ScoreDocument;

struct CursorFrame {
    int lineLength = 0;   // L
    int spacingStep = 0;  // P, "Taille du Pas"
    int stepUnit = 0;     // U
    int freeStep = 0;     // F, 6 × U
    int staffHeight = 0;  // of the current staff's size
    int octaveSpan = 0;   // of the current staff's size
    int halfSpace = 0;    // of the current staff's size
    std::vector<int> staffStart;  // S of every staff: its left edge + 3 × U
    std::vector<double> staffY;   // the y every staff's elements count from
    std::vector<int> staffLines;
};

// Nothing when the document has no current page.
std::optional<CursorFrame> CursorFrameOf(ScoreDocument& doc);

// The region a view action is judged against: the window's shown area, or the whole page without one.
PageRegion ViewRegionOf(const ScoreDocument& doc, const std::optional<PageRegion>& shown);

}  // namespace notavera
