// The document's settings carried into the drawing context.
#include "render/document_drawing_settings.h"

#include <algorithm>

namespace notavera {
namespace {

bool SameRatios(const SizeRatios& a, const SizeRatios& b) {
    return a.smallNum == b.smallNum && a.smallDen == b.smallDen && a.cueNum == b.cueNum && a.cueDen == b.cueDen;
}

// The definition the context's metrics were derived from: twice the normal half space.
int CurrentDefinition(const DrawingContext& dc) { return dc.metrics.staffSpace[0]; }

}  // namespace

void UseDocumentSettings(DrawingContext& dc, const ScoreDocument& doc) {
    FileHeader header = doc.header;
    const PageFormatBlock format = header.pageFormat();
    dc.thickness.staffLine = std::clamp<int>(format.staffLineThickness(), 1, 20);
    dc.thickness.stem = std::clamp<int>(format.stemThickness(), 1, 15);
    dc.thickness.barLine = std::clamp<int>(format.barLineThickness(), 1, 20);
    dc.thickness.beam = std::clamp<int>(format.beamThickness(), 1, 100);
    dc.thickness.beamGap = std::clamp<int>(format.beamGap(), 1, 100);
    dc.thickness.drawingLineThin = std::clamp<int>(format.thinLine(), 1, 99);
    dc.thickness.drawingLineMedium = std::clamp<int>(format.mediumLine(), 1, 99);
    dc.thickness.drawingLineThick = std::clamp<int>(format.thickLine(), 1, 99);
    // A maximum of 0 is what documents written before the limit existed hold: they keep the old 0.10.
    const int maxSlope = format.maxBeamSlope() == 0 ? 10 : std::min<int>(format.maxBeamSlope(), 80);
    dc.beams = {std::min<int>(format.minBeamSlope(), 30) / 100.0, maxSlope / 100.0,
                std::clamp(doc.settings.averageBeamHeight, 1.0, 4.0)};
    dc.corrections = {header.screenHeightCorrection(), header.printerHeightCorrection()};
    // Out-of-range bytes of a damaged file are brought back into the ranges the dialogs allow.
    dc.curves.tiePenWidth = std::clamp<int>(header.tieStrokeWidthMinusOne(), 0, 3) + 1;
    dc.curves.tieThickness = std::clamp<int>(header.tieThicknessNegated(), -4, 8);
    dc.curves.curveThickness = std::clamp<int>(header.curveThicknessNegated(), -3, 8);
    dc.curves.invertArcs = doc.settings.invertArcs;

    const SizeRatios ratios{header.smallStaffNum(), header.smallStaffDen(), header.cueNum(), header.cueDen()};
    const bool usable = ratios.smallNum > 0 && ratios.smallDen > 0 && ratios.cueNum > 0 && ratios.cueDen > 0;
    if (usable && !SameRatios(ratios, dc.ratios)) SetSizeRatios(dc, ratios, CurrentDefinition(dc));

    dc.textFonts = doc.fonts;
    const std::string face = doc.fonts.faceName(0);
    const MusicFont* wanted = MusicFont::Installed(FamilyForFace(face));
    if (wanted != dc.musicFont) SetMusicFace(dc, face);
}

void UsePageDefinition(DrawingContext& dc, int definition) {
    if (DeriveStaffMetrics(definition, dc.ratios).staffSpace[0] != CurrentDefinition(dc) ||
        dc.fonts.baseFontHeight != dc.metrics.staffSpace[0] * 8)
        SetStaffDefinition(dc, definition);
}

}  // namespace notavera
