// The sheet a page is printed on, in page units: where it lies around the staves (the dead margins of odd and even
// pages), its frame and fill on the screen, its crop marks, and the printed page number that decides the parity.
#pragma once

#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera {

// The number printed on page `pageNumber`: the page number plus the first page number of the pagination, less one
// ("No de page initial", 1–16000; a damaged block is brought into that range).
int PrintedPageNumber(const ScoreDocument& doc, int pageNumber);

// The sheet of the page: the lines start at x 0, the sheet's left edge lies the page's dead left margin (odd or
// even by the printed number, in millimetres) further left, and its top edge the top dead margin above the page
// height.
Box SheetBox(const ScoreDocument& doc, int pageNumber);

// What a picture of the whole page shows: the sheet, and the crop marks around it when they are on.
Box PageArea(const ScoreDocument& doc, int pageNumber);

// The fill of the sheet on the screen, also the colour that erases: white, or the tinted sheet.
inline constexpr Colour WhiteSheetColour = RgbColour(255, 255, 255);
inline constexpr Colour TintedSheetColour = RgbColour(255, 130, 68);
constexpr Colour SheetFillColour(bool tinted) { return tinted ? TintedSheetColour : WhiteSheetColour; }

// The thin frame around the sheet, its right and bottom edges 50 units outside it.
void DrawSheetFrame(DrawingContext& dc, Box sheet);
void FillSheet(DrawingContext& dc, Box sheet, bool tinted);

// How far crop marks stand off the sheet's corners and how long they are, in page units.
inline constexpr int CropMarkGap = 30;
inline constexpr int CropMarkLength = 100;

// Two short strokes at each corner of the sheet, outside it, along its edges.
void DrawCropMarks(DrawingContext& dc, Box sheet);

}  // namespace notavera
