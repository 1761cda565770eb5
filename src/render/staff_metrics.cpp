// Derivation of the staff metrics, the font heights, the baselines and the measured glyph widths.
#include "render/staff_metrics.h"

#include <algorithm>

#include "platform/canvas.h"
#include "render/music_font.h"

namespace notavera {
namespace {

// v × num / den in integers, multiplication first; a zero denominator (a damaged document) leaves v unscaled.
int Scale(int v, int num, int den) {
    if (den == 0) return v;
    return static_cast<int>(static_cast<long long>(v) * num / den);
}

// Fills [0][1], [1][0] and [1][1] from [0][0] with the cue and small-staff ratios.
void FillSizeTable(SizeTable& t, const SizeRatios& r) {
    t[0][1] = Scale(t[0][0], r.cueNum, r.cueDen);
    t[1][0] = Scale(t[0][0], r.smallNum, r.smallDen);
    t[1][1] = Scale(t[1][0], r.cueNum, r.cueDen);
}

}  // namespace

StaffMetrics DeriveStaffMetrics(int definition, const SizeRatios& ratios) {
    // A definition below 2 (only a damaged page has one) would give a zero staff space, which the ledger-line
    // and dot rules divide by.
    StaffMetrics m;
    m.halfSpace[0] = std::max(definition, 2) / 2;
    m.halfSpace[1] = std::max(Scale(m.halfSpace[0], ratios.smallNum, ratios.smallDen), 1);
    for (int i = 0; i < 2; ++i) {
        m.staffSpace[i] = m.halfSpace[i] * 2;
        m.staffHeight[i] = m.staffSpace[i] * 4;
        m.octaveSpan[i] = m.halfSpace[i] * 7;
        m.quarterSpace[i] = m.staffSpace[i] / 4.0;
        m.eighthSpace[i] = m.staffSpace[i] / 8;
    }
    m.stepUnit = m.halfSpace[0];
    m.stepUnit3 = m.stepUnit * 3;
    m.stepUnit6 = m.stepUnit * 6;
    return m;
}

void UpdateFontHeights(MusicFontSizes& sizes, ZoomFraction zoom, const SizeRatios& ratios) {
    sizes.fontHeight[0][0] = Scale(sizes.baseFontHeight, zoom.num, zoom.den);
    FillSizeTable(sizes.fontHeight, ratios);
}

void MeasureGlyphBaselines(MusicFontSizes& sizes, Canvas& canvas, const MusicFont& font, int correction) {
    for (int s = 0; s < 2; ++s) {
        for (int c = 0; c < 2; ++c) {
            const int ascent = canvas.measureGlyphs(U"", font.atHeight(sizes.fontHeight[s][c])).ascent;
            sizes.glyphAscent[s][c] = ascent;
            sizes.glyphBaseline[s][c] = ascent - ascent * correction / 100;
        }
    }
}

GlyphWidths MeasureNoteheadWidths(const MusicFont& font, int baseFontHeight, const SizeRatios& ratios,
                                  const LedgerFactors& factors) {
    const int open = font.widthAt(203, baseFontHeight);
    const int whole = font.widthAt(201, baseFontHeight);
    GlyphWidths w;
    w.noteheadHalfWidth[0][0] = open / 2;
    w.ledgerHalfLength[0][0] = static_cast<int>(open * factors.ledger);
    w.accidentalWidth[0][0] = font.widthAt(211, baseFontHeight);
    FillSizeTable(w.noteheadHalfWidth, ratios);
    FillSizeTable(w.ledgerHalfLength, ratios);
    FillSizeTable(w.accidentalWidth, ratios);
    w.wholeLedgerHalfLength[0] = static_cast<int>(whole * factors.wholeLedger);
    w.wholeLedgerHalfLength[1] = Scale(w.wholeLedgerHalfLength[0], ratios.smallNum, ratios.smallDen);
    w.breveHalfWidth[0] = static_cast<int>(whole * 1.1667 / 2);
    w.breveHalfWidth[1] = Scale(w.breveHalfWidth[0], ratios.smallNum, ratios.smallDen);
    return w;
}

}  // namespace notavera
