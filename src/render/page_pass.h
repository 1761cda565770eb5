// The page drawing pass: the whole current page on any canvas — sheet, mask pages, staff lines, groupings, the
// page-mark line, the staves' contents in two passes, the running texts and the crop marks.
#pragma once

#include <functional>
#include <optional>

#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera {

// Draws element `index` of a staff; the pass hands every element to it.
using ElementDrawer = std::function<void(DrawingContext&, const StaffRecord&, int index)>;

// The view's settings the pass follows; the defaults draw a plain page.
struct PageDrawOptions {
    bool sheetFrame = false;   // a thin frame around the sheet (screen and printer)
    bool tintedSheet = false;  // the sheet filled with the tinted colour on the screen
    std::optional<int> pageMarkY;                  // the page-mark line's height, when set
    std::optional<ContinuousGeometry> continuous;  // the continuous-page view
    ElementDrawer drawElement;                     // empty: DrawElement
};

// The colour of the page-mark line: pure blue.
inline constexpr Colour PageMarkColour = RgbColour(0, 0, 255);

// Draws the document's current page on dc.canvas; without a canvas only the layout state is rebuilt (dc.staves:
// every staff's top line, reference height and clef changes) and each staff's working height (StaffRecord::y)
// set. dc follows the document's settings and the page's staff definition; its drawing state is left as it was.
// Nothing happens when the current page is not in memory.
void DrawPage(DrawingContext& dc, ScoreDocument& doc, const PageDrawOptions& options = {});

}  // namespace notavera
