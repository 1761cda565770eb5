// The staff metrics derived from a page's staff definition, the music-font heights at the current zoom, the
// glyph baselines measured on the drawing device and the glyph widths measured once per font.
#pragma once

#include <array>

#include "render/zoom.h"

namespace notavera {

class Canvas;
class MusicFont;

// Size ratios of small staves ("&Rapports Grosse/Petite portée") and cue symbols ("&Taille normale/Taille
// ornement"), stored with the document.
struct SizeRatios {
    int smallNum = 16;
    int smallDen = 20;
    int cueNum = 3;
    int cueDen = 4;
};

// Index 0 is the normal staff, 1 the small staff; all in page units.
struct StaffMetrics {
    std::array<int, 2> halfSpace{10, 8};
    std::array<int, 2> staffSpace{20, 16};
    std::array<int, 2> staffHeight{80, 64};
    std::array<int, 2> octaveSpan{70, 56};
    std::array<double, 2> quarterSpace{5.0, 4.0};
    std::array<int, 2> eighthSpace{2, 2};
    int stepUnit = 10;
    int stepUnit3 = 30;
    int stepUnit6 = 60;
};

// The metrics of a staff definition ("Définition (mm/10)", the staff space): an odd definition loses its odd
// tenth.
StaffMetrics DeriveStaffMetrics(int definition, const SizeRatios& ratios);

// Indexed [small staff][cue size]; heights and offsets in zoomed logical units.
using SizeTable = std::array<std::array<int, 2>, 2>;

struct MusicFontSizes {
    int baseFontHeight = 100;  // eight staff spaces of the normal staff, in page units
    SizeTable fontHeight{};
    SizeTable glyphAscent{};    // the font's ascent at each height, as the device reports it
    SizeTable glyphBaseline{};  // ascent less the device's height correction
};

// The screen's and the printer's height corrections, in percent ("Hauteur (Ecran)", "Hauteur (Impr.)").
struct HeightCorrections {
    int screen = 2;
    int printer = 0;
};

// The four heights from the base height, the zoom and the ratios, in integer arithmetic, multiplication first.
void UpdateFontHeights(MusicFontSizes& sizes, ZoomFraction zoom, const SizeRatios& ratios);

// Reads the font's ascent at each of the four heights from the device and lowers it by `correction` percent.
void MeasureGlyphBaselines(MusicFontSizes& sizes, Canvas& canvas, const MusicFont& font, int correction);

// Glyph widths measured on the music font at zoom 1/1, in page units, indexed like SizeTable where they have
// cue copies and by staff size alone otherwise.
struct GlyphWidths {
    SizeTable noteheadHalfWidth{};   // code 203 / 2
    SizeTable ledgerHalfLength{};    // code 203 × ledger factor
    std::array<int, 2> wholeLedgerHalfLength{};  // code 201 × whole-ledger factor
    std::array<int, 2> breveHalfWidth{};         // code 201 × 1.1667 / 2
    SizeTable accidentalWidth{};     // code 211
};

// The ledger factors set at start-up (the document's two scale values).
struct LedgerFactors {
    double ledger = 0.6;
    double wholeLedger = 0.64;
};

GlyphWidths MeasureNoteheadWidths(const MusicFont& font, int baseFontHeight, const SizeRatios& ratios,
                                  const LedgerFactors& factors = {});

}  // namespace notavera
