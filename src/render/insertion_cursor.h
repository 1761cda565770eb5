// The insertion cursor: the band one step wide and one octave high that shows, on the current staff, where the
// next note goes and in which octave. It is drawn NOT-XOR over the page, so drawing it twice takes it away.
#pragma once

#include <optional>

#include "platform/canvas.h"
#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera {

// The cursor's box in page units at x on the current staff, after a drawing pass has placed the staves
// (dc.staves, with their clef changes): `stepUnit` wide from x, one octave span of the staff's size high, its
// bottom (16 − c − 7 × o) half-spaces below the staff's reference height, where c is the clef value at x and o
// the insertion octave counted from octave 4; a staff of more than five lines lowers it by (2n − 10)
// half-spaces. Nothing when the current page or staff is not placed. `staff` names the staff whose place the
// cursor shows when the current staff stands at a neighbour's place (its clefs and lines then count).
std::optional<Box> InsertionCursorBox(const DrawingContext& dc, const ScoreDocument& doc, int x,
                                      std::optional<int> staff = std::nullopt);

// Draws that box on dc.canvas, zoomed, with the NOT-XOR mix; the canvas's raster operation is put back to Copy.
void DrawInsertionCursor(DrawingContext& dc, const ScoreDocument& doc, int x, std::optional<int> staff = std::nullopt);

}  // namespace notavera
