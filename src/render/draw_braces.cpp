// Braces and square brackets joining staves, drawn with the music font's own brace and bracket ends.
#include <algorithm>
#include <cmath>

#include "render/draw_signs.h"
#include "render/music_font_table.h"
#include "render/primitives.h"

namespace notavera {
namespace {

// A staff space in page units at the current staff size.
double SpaceOf(const DrawingContext& dc) { return dc.metrics.staffSpace[static_cast<std::size_t>(dc.sizeIndex())]; }

// How wide a brace should be, in staff spaces: a piano brace reads as one bold stroke of about a space.
constexpr double BraceTargetWidth = 1.1;

// The brace glyph is scaled to its height as a whole, so a taller brace grows wider too. Fonts offer slimmer
// variants for taller braces: the one whose width at this height comes nearest the target is taken.
const MusicGlyph* ChooseBrace(const MusicFont& font, double heightInSpaces) {
    const MusicGlyph* best = nullptr;
    double bestDistance = 0;
    for (StructuralGlyph which : {StructuralGlyph::Brace, StructuralGlyph::BraceLarge, StructuralGlyph::BraceLarger}) {
        const MusicGlyph* g = font.structural(which);
        if (g == nullptr || g->box.height() <= 0) continue;
        const double width = g->box.width() * heightInSpaces / g->box.height();
        const double distance = std::abs(width - BraceTargetWidth);
        if (best == nullptr || distance < bestDistance) {
            best = g;
            bestDistance = distance;
        }
    }
    return best;
}

bool Skipped(const DrawingContext& dc, int x) {
    return dc.canvas == nullptr || (dc.inMetafilePass() && !dc.visibleRegion.containsX(x));
}

}  // namespace

void DrawBrace(DrawingContext& dc, int x, int top, int bottom) {
    if (Skipped(dc, x) || top <= bottom) return;
    dc.canvas->note({.op = "brace", .x1 = x, .y1 = top, .y2 = bottom, .colour = dc.draw.drawColour});
    if (dc.musicFont == nullptr) return;
    const double height = top - bottom;
    const MusicGlyph* g = ChooseBrace(*dc.musicFont, height / SpaceOf(dc));
    if (g == nullptr) return;
    // The glyph's own staff space, so that its ink box spans exactly from bottom to top.
    const double space = height / g->box.height();
    PutGlyphAt(dc, *g, x, bottom, g->box.ne.x, g->box.sw.y, space);
}

void DrawSquareBracket(DrawingContext& dc, int x, int top, int bottom) {
    if (Skipped(dc, x) || top <= bottom) return;
    const double space = SpaceOf(dc);
    const double thicknessInSpaces =
        dc.musicFont ? dc.musicFont->metadata().engravingDefault("bracketThickness").value_or(0.5) : 0.5;
    const int thickness = std::max(1, static_cast<int>(std::lround(thicknessInSpaces * space)));
    dc.canvas->note({.op = "bracket", .x1 = x, .y1 = top, .y2 = bottom, .width = thickness,
                     .colour = dc.draw.drawColour});
    const int left = x - thickness;
    DrawVLine(dc, bottom, top, left + thickness / 2, thickness);
    if (dc.musicFont == nullptr) return;
    // The ends carry the stroke's first stretch on their left edge and curl right, beyond the outer staff lines.
    if (const MusicGlyph* g = dc.musicFont->structural(StructuralGlyph::BracketTop))
        PutGlyphAt(dc, *g, left, top, 0, 0, space);
    if (const MusicGlyph* g = dc.musicFont->structural(StructuralGlyph::BracketBottom))
        PutGlyphAt(dc, *g, left, bottom, 0, 0, space);
}

}  // namespace notavera
