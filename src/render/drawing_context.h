// The explicit state every drawing routine works with: the canvas, the music font, the zoom, the staff metrics
// and font sizes of the current page, the drawing colours and flags, and the state of the current pass.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/metafile_player.h"
#include "render/centred_width_queue.h"
#include "render/geometry.h"
#include "render/music_font.h"
#include "render/staff_metrics.h"
#include "render/zoom.h"
#include "score/font_block.h"
#include "score/records.h"

namespace notavera {

// Which pass of the page drawing runs.
enum class OutputMode {
    Normal = 0,         // screen or printer
    Measuring = 1,      // metafile export: measuring pass on a screen context
    MeasuringText = 2,  // the same, after the first centred string was measured
    Metafile = 3,       // the metafile pass itself, which cannot measure
};

// Colours and flags the primitives read while an element is drawn.
struct DrawState {
    Colour drawColour = 0;
    Colour staffColour = 0;
    int lineStyle = 0;           // stored pen style of stems and bar lines; 0 solid
    bool showHidden = false;
    bool isSmallStaff = false;
    bool isCueSize = false;
    bool alternateGlyphs = false;  // the staff line being drawn uses the old-notation glyphs
    bool barsPerStaff = false;     // "Par portées individuelles": bar lines stay within their own staff
};

// The playback proportion the last time signature drawn sets (numerator and denominator as floats).
struct PlaybackProportion {
    float num = 1.0f;
    float den = 1.0f;
    friend bool operator==(const PlaybackProportion&, const PlaybackProportion&) = default;
};

// Stroke widths in page units ("Epaisseurs" of the "Format" dialog, and the environment's drawing-layer widths).
struct LineThicknesses {
    int staffLine = 1;       // "Lignes Portée"
    int stem = 2;            // "Queue note"
    int barLine = 3;         // "Barres mesure"
    int beam = 10;           // "Barres valeur"
    int beamGap = 5;         // "Blancs barre valeur"
    int drawingLineThin = 1;    // the drawing layer's "Trait Fin"
    int drawingLineMedium = 1;  // the second drawing-layer width: how much a dashed stroke is thickened
    int drawingLineThick = 8;   // the drawing layer's "Trait Epais"
};

// The beam geometry of the "Format" dialog: slope limits (its hundredths as fractions) and "Hauteur moyenne", the
// average clear stem between the heads and the primary beam, in staff spaces.
struct BeamSettings {
    double minSlope = 0.10;
    double maxSlope = 0.15;
    double averageHeight = 3.0;
};

// How ties, slurs and curve signs are stroked, from the document's settings.
struct CurveSettings {
    int tiePenWidth = 1;     // "Ep.Trait liais.": the width of the outer stroke
    int tieThickness = 0;    // "Liaisons" as stored (the typed value negated): the higher, the thinner the curve
    int curveThickness = 0;  // "Courbes", stored the same way, for the manipulable curves
    bool invertArcs = false; // "Inverser arcs": start and end of every arc exchanged for metafile readers
};

// The note a tie or slur starts on, while the staff is drawn up to the note that ends it.
struct PendingCurve {
    const StaffRecord* staff = nullptr;
    int index = -1;
};

struct DrawingContext {
    Canvas* canvas = nullptr;  // null: the pass only rebuilds the layout state
    const MusicFont* musicFont = MusicFont::Installed(SmuflFamily::Bravura);
    const MetafilePlayer* metafiles = nullptr;  // plays the pictures (the interface's player); null draws none

    ZoomFraction zoom;
    SizeRatios ratios;
    LedgerFactors ledgerFactors;
    StaffMetrics metrics;
    MusicFontSizes fonts;
    HeightCorrections corrections;
    GlyphWidths widths;
    LineThicknesses thickness;
    BeamSettings beams;
    DrawState draw;
    CurveSettings curves;

    OutputMode outputMode = OutputMode::Normal;
    bool printing = false;
    bool erasing = false;
    PageRegion exportRegion;
    PageRegion visibleRegion;
    CentredWidthQueue centredWidths;
    std::vector<StaffDrawState> staves;  // indexed by the staff's index on its page
    PlaybackProportion playbackProportion;
    std::optional<PendingCurve> pendingCurve;
    FontBlock textFonts = FontBlock::makeDefault();  // the document's font table, which texts name by index

    DrawingContext() {
        UpdateFontHeights(fonts, zoom, ratios);
        if (musicFont != nullptr) {
            ledgerFactors = LedgerFactorsOf(*musicFont);
            widths = MeasureNoteheadWidths(*musicFont, fonts.baseFontHeight, ratios, ledgerFactors);
        }
    }

    int toDevice(int v) const { return ToDevice(v, zoom); }
    int toPage(int v) const { return ToPage(v, zoom); }
    bool inMetafilePass() const { return outputMode != OutputMode::Normal; }
    int sizeIndex() const { return draw.isSmallStaff ? 1 : 0; }
    int cueIndex() const { return draw.isCueSize ? 1 : 0; }
};

// A page's staff definition: every staff metric, the base font height and the four font heights.
void SetStaffDefinition(DrawingContext& dc, int definition);
// A new zoom: the four font heights follow.
void ApplyZoom(DrawingContext& dc, ZoomFraction zoom);
// The music font named by the document ("Changer Police musicale", or entry 0 of its font table); its ledger
// factors are taken and the glyph widths measured again.
void SetMusicFace(DrawingContext& dc, std::string_view face);
// New size ratios or ledger factors: metrics, heights and widths are derived again from `definition`.
void SetSizeRatios(DrawingContext& dc, const SizeRatios& ratios, int definition);
// The start of a drawing pass on the context's canvas: the glyph baselines are measured on it, with the printer's
// correction while printing and the screen's otherwise, each counted from its default (see
// EffectiveHeightCorrection), so that noteheads sit on their lines at the defaults. The metafile pass keeps those of
// the measuring pass.
void BeginDrawingPass(DrawingContext& dc);

}  // namespace notavera
