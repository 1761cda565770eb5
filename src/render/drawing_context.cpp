// Keeps the derived parts of the drawing context in step with the definition, zoom, ratios and font.
#include "render/drawing_context.h"

namespace notavera {
namespace {

void RemeasureWidths(DrawingContext& dc) {
    if (dc.musicFont != nullptr)
        dc.widths = MeasureNoteheadWidths(*dc.musicFont, dc.fonts.baseFontHeight, dc.ratios, dc.ledgerFactors);
}

}  // namespace

void SetStaffDefinition(DrawingContext& dc, int definition) {
    dc.metrics = DeriveStaffMetrics(definition, dc.ratios);
    dc.fonts.baseFontHeight = dc.metrics.staffSpace[0] * 8;
    UpdateFontHeights(dc.fonts, dc.zoom, dc.ratios);
    // The widths are measured at the base height, which follows the definition.
    RemeasureWidths(dc);
}

void ApplyZoom(DrawingContext& dc, ZoomFraction zoom) {
    dc.zoom = ZoomFromDialog(zoom.num, zoom.den);
    UpdateFontHeights(dc.fonts, dc.zoom, dc.ratios);
}

void SetMusicFace(DrawingContext& dc, std::string_view face) {
    dc.musicFont = MusicFont::Installed(FamilyForFace(face));
    RemeasureWidths(dc);
}

void SetSizeRatios(DrawingContext& dc, const SizeRatios& ratios, int definition) {
    dc.ratios = ratios;
    SetStaffDefinition(dc, definition);
}

void BeginDrawingPass(DrawingContext& dc) {
    if (dc.canvas == nullptr || dc.musicFont == nullptr || dc.outputMode == OutputMode::Metafile) return;
    const int correction = dc.printing ? dc.corrections.printer : dc.corrections.screen;
    MeasureGlyphBaselines(dc.fonts, *dc.canvas, *dc.musicFont, correction);
}

}  // namespace notavera
