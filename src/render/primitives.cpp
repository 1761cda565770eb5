// The drawing primitives: font choice, code substitution, glyph placement, centring with the replay queue, and
// the strokes and fills drawn with pens and brushes.
#include "render/primitives.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "render/music_font_table.h"

namespace notavera {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Logical units per staff space of a system font height (the font is eight staff spaces high).
double SpaceOf(int fontHeight) { return fontHeight / MusicFont::StaffSpacesPerHeight; }

// The device point of a glyph's SMuFL origin for a code written at page point (x, y).
Point GlyphOrigin(const DrawingContext& dc, int x, int y, const MusicGlyph& g, int size, int cue) {
    const double space = SpaceOf(dc.fonts.fontHeight[size][cue]);
    const int baseline = dc.fonts.glyphBaseline[size][cue] - dc.fonts.glyphAscent[size][cue];
    return {dc.toDevice(x) + Round(g.offset.x * space), dc.toDevice(y) + baseline + Round(g.offset.y * space)};
}

// Half the width of a centred string: measured on the device, recorded for the metafile pass while measuring,
// replayed in the metafile pass. Should the queue run dry there (more strings than it holds), the width comes
// from the font's own advances, which is what the device would have measured.
int CentredHalfWidth(DrawingContext& dc, std::u32string_view codePoints, const GlyphFont& font, int fontWidth) {
    if (dc.outputMode == OutputMode::Metafile) return dc.centredWidths.pop().value_or(fontWidth / 2);
    const int half = dc.canvas->measureGlyphs(codePoints, font).width / 2;
    if (dc.outputMode == OutputMode::Measuring || dc.outputMode == OutputMode::MeasuringText) {
        dc.centredWidths.push(half);
        dc.outputMode = OutputMode::MeasuringText;
    }
    return half;
}

}  // namespace

void PutGlyph(DrawingContext& dc, int x, int y, int code) {
    if (dc.canvas == nullptr) return;
    if (dc.inMetafilePass() && !dc.visibleRegion.containsX(x)) return;
    const WrittenCode written = SubstituteCode(code, dc.draw.alternateGlyphs, dc.draw.isCueSize);
    const int size = dc.sizeIndex();
    const int cue = written.normalSize ? 0 : dc.cueIndex();
    const int height = dc.fonts.fontHeight[size][cue];
    dc.canvas->note({.op = "glyph", .code = written.code, .x1 = x, .y1 = y, .fontHeight = height,
                     .colour = dc.draw.drawColour});
    if (dc.musicFont == nullptr) return;
    const MusicGlyph* g = dc.musicFont->glyph(written.code, written.alternate);
    if (g == nullptr) return;
    const char32_t cp[] = {g->codePoint};
    dc.canvas->drawGlyphs(GlyphOrigin(dc, x, y, *g, size, cue), std::u32string_view(cp, 1),
                          dc.musicFont->atHeight(height), dc.draw.drawColour);
}

void PutGlyphText(DrawingContext& dc, int x, int y, std::string_view codes, bool centred) {
    if (dc.canvas == nullptr) return;
    const int size = dc.sizeIndex(), cue = dc.cueIndex();
    const int height = dc.fonts.fontHeight[size][cue];
    dc.canvas->note({.op = "glyphText", .text = codes, .x1 = x, .y1 = y, .fontHeight = height,
                     .centred = centred, .colour = dc.draw.drawColour});
    if (dc.musicFont == nullptr) return;

    std::vector<const MusicGlyph*> glyphs;
    std::u32string codePoints;
    double advance = 0;
    for (char c : codes) {
        const MusicGlyph* g = dc.musicFont->glyph(static_cast<unsigned char>(c));
        if (g == nullptr) continue;
        glyphs.push_back(g);
        codePoints.push_back(g->codePoint);
        advance += g->advance;
    }
    const GlyphFont font = dc.musicFont->atHeight(height);
    const double space = SpaceOf(height);
    int left = 0;
    if (centred) left = -CentredHalfWidth(dc, codePoints, font, Round(advance * space));

    // Each glyph is placed on its own, since the glyphs of one string may sit differently on the baseline.
    double pen = 0;
    for (const MusicGlyph* g : glyphs) {
        Point origin = GlyphOrigin(dc, x, y, *g, size, cue);
        origin.x += left + Round(pen * space);
        const char32_t cp[] = {g->codePoint};
        dc.canvas->drawGlyphs(origin, std::u32string_view(cp, 1), font, dc.draw.drawColour);
        pen += g->advance;
    }
}

void PutGlyphAt(DrawingContext& dc, const MusicGlyph& g, int x, int y, double boxX, double boxY, double space) {
    if (dc.canvas == nullptr || dc.musicFont == nullptr) return;
    const double logicalSpace = space * dc.zoom.num / dc.zoom.den;
    GlyphFont font = dc.musicFont->atHeight(0);
    font.emSize = logicalSpace * MusicFont::StaffSpacesPerEm;
    const Point origin{dc.toDevice(x) - Round(boxX * logicalSpace), dc.toDevice(y) - Round(boxY * logicalSpace)};
    const char32_t cp[] = {g.codePoint};
    dc.canvas->drawGlyphs(origin, std::u32string_view(cp, 1), font, dc.draw.drawColour);
}

int GlyphWidth(const DrawingContext& dc, int code, bool smallStaff, bool cueSize) {
    if (dc.musicFont == nullptr) return 0;
    const int height = dc.fonts.fontHeight[smallStaff ? 1 : 0][cueSize ? 1 : 0];
    return dc.toPage(dc.musicFont->widthAt(code, height));
}

GlyphInkBox GlyphInk(const DrawingContext& dc, int code, bool smallStaff, bool cueSize, bool alternateLine) {
    if (dc.musicFont == nullptr) return {};
    const WrittenCode written = SubstituteCode(code, alternateLine, cueSize);
    const MusicGlyph* g = dc.musicFont->glyph(written.code, written.alternate);
    if (g == nullptr) return {};
    // Page units a staff space, from the unzoomed height, so that the box does not move with the zoom.
    const SizeRatios& r = dc.ratios;
    double space = SpaceOf(dc.fonts.baseFontHeight);
    if (smallStaff && r.smallDen != 0) space = space * r.smallNum / r.smallDen;
    if (cueSize && !written.normalSize && r.cueDen != 0) space = space * r.cueNum / r.cueDen;
    return {Round((g->offset.x + g->box.sw.x) * space), Round((g->offset.x + g->box.ne.x) * space),
            Round((g->offset.y + g->box.sw.y) * space), Round((g->offset.y + g->box.ne.y) * space)};
}

void DrawVLine(DrawingContext& dc, int y1, int y2, int x, int width) {
    if (dc.canvas == nullptr) return;
    if (dc.inMetafilePass()) {
        const PageRegion& r = dc.exportRegion;
        if (!r.containsX(x)) return;
        const int bottom = std::min(r.y0, r.y1), top = std::max(r.y0, r.y1);
        y1 = std::clamp(y1, bottom, top);
        y2 = std::clamp(y2, bottom, top);
    }
    dc.canvas->note({.op = "vline", .x1 = x, .y1 = y1, .y2 = y2, .width = width, .colour = dc.draw.drawColour});
    const Point from{dc.toDevice(x), dc.toDevice(y1)}, to{dc.toDevice(x), dc.toDevice(y2)};
    if (dc.draw.lineStyle == 0) {
        dc.canvas->drawLine(from, to, Pen{dc.draw.drawColour, width, PenStyle::Solid, PenEnds::Flat});
        return;
    }
    // A styled geometric pen cannot be dashed on every device: a one-pixel dashed line is repeated instead.
    const Pen pen{dc.draw.drawColour, 0, PenStyleFromStored(static_cast<unsigned>(dc.draw.lineStyle)), PenEnds::Flat};
    const int copies = std::max(width * dc.thickness.drawingLineMedium, 1);
    for (int k = 0; k < copies; ++k) {
        const int dx = Round(k * dc.canvas->pixelWidth());
        dc.canvas->drawLine({from.x + dx, from.y}, {to.x + dx, to.y}, pen);
    }
}

void DrawHLine(DrawingContext& dc, int x1, int x2, int y, int width) {
    if (dc.canvas == nullptr) return;
    if (dc.inMetafilePass()) {
        const PageRegion& r = dc.exportRegion;
        const int bottom = std::min(r.y0, r.y1), top = std::max(r.y0, r.y1);
        if (y < bottom || y > top) return;
        x1 = std::clamp(x1, r.x0, r.x1);
        x2 = std::clamp(x2, r.x0, r.x1);
    }
    const Colour colour = dc.draw.drawColour;
    dc.canvas->note({.op = "hline", .x1 = x1, .y1 = y, .x2 = x2, .y2 = y, .width = width, .colour = colour});
    dc.canvas->drawLine({dc.toDevice(x1), dc.toDevice(y)}, {dc.toDevice(x2), dc.toDevice(y)},
                        Pen{colour, width, PenStyle::Solid, PenEnds::Flat});
}

void DrawBand(DrawingContext& dc, int x1, int y1, int x2, int y2, int t, Colour colour) {
    if (dc.canvas == nullptr) return;
    dc.canvas->note({.op = "band", .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .width = t, .colour = colour});
    const std::array<Point, 4> corners{{{dc.toDevice(x1), dc.toDevice(y1)},
                                        {dc.toDevice(x2), dc.toDevice(y2)},
                                        {dc.toDevice(x2), dc.toDevice(y2 + t)},
                                        {dc.toDevice(x1), dc.toDevice(y1 + t)}}};
    dc.canvas->drawPolygon(corners, ShapeStyle{Pen{colour, 0}, colour});
}

void DrawDisc(DrawingContext& dc, int x, int y, int r) {
    if (dc.canvas == nullptr) return;
    const Colour colour = dc.draw.drawColour;
    dc.canvas->note({.op = "disc", .x1 = x, .y1 = y, .width = r, .colour = colour});
    const Box box{dc.toDevice(x - r), dc.toDevice(y - r), dc.toDevice(x + r), dc.toDevice(y + r)};
    dc.canvas->drawEllipse(box, ShapeStyle{Pen{colour, 0}, colour});
}

}  // namespace notavera
