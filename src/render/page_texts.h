// The running texts of a page: its number, its header and its footer, chosen and placed by the pagination
// settings (position code, first page, parity of the printed number, distance from the edge in interlines).
#pragma once

#include <string>
#include <vector>

#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera {

// Position codes of the pagination dialog; 50 more places the text at the foot of the page.
inline constexpr int PositionNone = 0;       // "NEANT"
inline constexpr int PositionCentre = 1;     // "Centré"
inline constexpr int PositionLeft = 2;       // "Gauche"
inline constexpr int PositionRight = 3;      // "Droite"
inline constexpr int PositionOutside = 12;   // "Extérieur"
inline constexpr int PositionInside = 13;    // "Intérieur"
inline constexpr int PositionAtFoot = 50;

struct RunningText {
    std::string text;  // UTF-8
    int position = 0;  // a position code, with or without the foot's 50
    TextFont font;     // its height in page units
    int distance = 0;  // from the top or the foot of the page, page units
};

// The font a block names: its face from the document's font table (the first text face of a new document when the
// index names no entry), bit 0 of the style italic and bit 1 bold, and its size, or three interlines when 0.
TextFont RunningTextFont(const FontBlock& fonts, int fontIndex, int style, int size, int interline);

// The width of a UTF-8 text in page units, measured with its font at the device's size. A metafile cannot measure:
// the measuring pass keeps each width in the replay queue, in drawing order, and the metafile pass takes them back.
int TextWidth(DrawingContext& dc, const std::string& text, const TextFont& deviceFont);

// What page `pageNumber` shows, in drawing order: the number, the header, the footer. The number is shown from
// printed number 2 on, or on the first page too when its "Première page incluse" is set; a header or footer
// from page 2 on, or on page 1 too with its own setting. Texts without a known position code are left out.
// `interline` is the page's staff space: the unit of the distances and of the default size (three interlines).
std::vector<RunningText> RunningTextsOfPage(const ScoreDocument& doc, int pageNumber, int interline);

// Where running texts may stand on a sheet whose staff lines run from x 0 to `lineEnd`: across the lines' extent,
// and never nearer to an edge of the paper than the printers' margin (40 units, the sheet's top edge to its usable
// height), where a printer would cut them.
Box RunningTextArea(Box sheet, int lineEnd);

// The baseline's left end of a text `width` wide in the text area: left, centred, right, or outside / inside by
// the parity of the printed number; `distance` above the area's foot, or that far plus its size below its top.
Point PlaceRunningText(const RunningText& text, int width, Box area, int printedNumber);

// Draws the running texts of the page on the sheet, in its text area. On the screen a text is drawn only when its
// anchor is in the visible region, in the metafile passes only when it is in the export region; elsewhere always.
void DrawRunningTexts(DrawingContext& dc, const ScoreDocument& doc, int pageNumber, Box sheet, int lineEnd);

}  // namespace notavera
