// Text signs: font choice, placement along the three orientations, justification and background.
#include "render/draw_texts.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

#include "platform/ansi_text.h"
#include "render/page_texts.h"

namespace notavera {
namespace {

constexpr Colour OpaqueBackground = RgbColour(255, 255, 255);
// How far the text faces reach above and below their baseline, in ems: the Liberation faces' own extents, fixed so
// that every device places a text at the same height.
constexpr double TextAscent = 0.9;
constexpr double TextDescent = 0.22;

int Round(double v) { return static_cast<int>(std::lround(v)); }

int EscapementOf(TextOrientation o) {
    switch (o) {
    case TextOrientation::Vertical: return 900;
    case TextOrientation::Backwards: return 1800;
    default: return 0;
    }
}

// A vector of the text's own frame (x along the characters, y up through them) turned to the page.
Point Turned(int dx, int dy, TextOrientation o) {
    switch (o) {
    case TextOrientation::Vertical: return {-dy, dx};
    case TextOrientation::Backwards: return {-dx, -dy};
    default: return {dx, dy};
    }
}

// The first entry is the music font, and so is any entry naming the same face.
bool InMusicFont(const FontBlock& fonts, int index) {
    if (index == MusicFontIndex) return true;
    if (index < 0 || index >= static_cast<int>(FontBlock::entryCount) || fonts.isFree(index)) return false;
    return fonts.faceName(index) == fonts.faceName(MusicFontIndex);
}

const StaffDrawState* FrameOf(const DrawingContext& dc, const StaffRecord& staff) {
    const auto index = static_cast<std::size_t>(staff.key().index());
    return index < dc.staves.size() ? &dc.staves[index] : nullptr;
}

TextFont DeviceTextFont(const DrawingContext& dc, const TextAttributes& a, int space) {
    TextFont font = RunningTextFont(dc.textFonts, a.fontIndex, static_cast<int>(a.style), a.size, space);
    font.height = dc.toDevice(a.size);
    font.escapement = EscapementOf(a.orientation);
    return font;
}

// The music font's glyphs for the characters, with their advance in page units.
struct GlyphRun {
    std::u32string codePoints;
    int width = 0;
    int top = 0;     // the highest and lowest ink over the baseline
    int bottom = 0;
    int left = 0;    // the leftmost and rightmost ink from the start: an italic letter reaches past its advance
    int right = 0;
};

GlyphRun MusicGlyphs(const DrawingContext& dc, std::string_view chars, int size) {
    GlyphRun run;
    if (dc.musicFont == nullptr) return run;
    // The system's music font is eight staff spaces high.
    const double space = static_cast<double>(size) / MusicFont::StaffSpacesPerHeight;
    double advance = 0, top = 0, bottom = 0, left = 0, right = 0;
    for (char c : chars) {
        const MusicGlyph* g = dc.musicFont->glyph(static_cast<unsigned char>(c));
        if (g == nullptr) continue;
        top = std::max(top, g->box.ne.y);
        bottom = std::min(bottom, g->box.sw.y);
        left = std::min(left, advance + g->box.sw.x);
        right = std::max(right, advance + g->box.ne.x);
        run.codePoints.push_back(g->codePoint);
        advance += g->advance;
    }
    run.width = Round(advance * space);
    run.top = Round(top * space);
    run.bottom = Round(bottom * space);
    run.left = Round(left * space);
    run.right = Round(std::max(right, advance) * space);
    return run;
}

bool IsOctaveLabel(const ElementRecord& e) { return e.w1().octaveShift() != 0; }

}  // namespace

std::optional<TextPlacement> PlaceTextSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return std::nullopt;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const StaffDrawState* frame = FrameOf(dc, staff);
    if (!IsText(e) || frame == nullptr) return std::nullopt;
    const int size = frame->small ? 1 : 0;
    const int space = dc.metrics.staffSpace[size];
    TextAttributes a = TextAttributesOf(e);
    // A size the editor never writes (0 or 1) is drawn at the smallest it allows.
    a.size = std::clamp(a.size, MinTextSize, MaxTextSize);
    const std::string chars = TextCharacters(e);
    const double staffTop = frame->referenceY - dc.metrics.staffHeight[size];
    const int lower = Round(TextLowerEdge(staffTop, e.param, space));

    TextPlacement p;
    p.size = a.size;
    p.space = space;
    p.musicFont = InMusicFont(dc.textFonts, a.fontIndex);
    // How far the characters reach above and below their baseline.
    int above = 0, below = 0, inkLeft = 0, inkRight = 0;
    if (p.musicFont) {
        const GlyphRun run = MusicGlyphs(dc, chars, a.size);
        p.width = run.width;
        above = run.top;
        below = -run.bottom;
        inkLeft = run.left;
        inkRight = run.right;
    } else {
        p.width = dc.canvas != nullptr ? TextWidth(dc, AnsiToUtf8(chars), DeviceTextFont(dc, a, space)) : 0;
        above = Round(TextAscent * a.size);
        below = Round(TextDescent * a.size);
        inkRight = p.width;
    }
    int x = e.x + e.shift;
    if (a.category == TextCategory::Lyrics && a.orientation == TextOrientation::Horizontal) {
        if (a.justification == LyricJustification::Centred) x -= p.width / 2;
        if (a.justification == LyricJustification::Ending) x -= p.width;
        // A syllable wider than the room before its note starts with the line rather than out in the margin.
        x = std::max(x, std::min(e.x + e.shift, 0));
    }
    // A text face hangs from the top of its cell, the lower edge plus the size; music-font characters stand on the
    // lower edge itself, as notes stand on the height they are written at. Either turns about that point.
    p.reference = {x, p.musicFont ? lower : lower + a.size};
    const Point drop = Turned(0, p.musicFont ? 0 : -above, a.orientation);
    p.baseline = {p.reference.x + drop.x, p.reference.y + drop.y};
    const Point corners[] = {Turned(inkLeft, above, a.orientation), Turned(inkLeft, -below, a.orientation),
                             Turned(inkRight, above, a.orientation), Turned(inkRight, -below, a.orientation)};
    p.box = {INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Point& c : corners) {
        p.box.left = std::min(p.box.left, p.baseline.x + c.x);
        p.box.right = std::max(p.box.right, p.baseline.x + c.x);
        p.box.bottom = std::min(p.box.bottom, p.baseline.y + c.y);
        p.box.top = std::max(p.box.top, p.baseline.y + c.y);
    }
    return p;
}

void DrawTextSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (dc.canvas == nullptr || index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!IsText(e) || IsOctaveLabel(e) || !e.hasBlob()) return;
    if (dc.inMetafilePass() && !dc.visibleRegion.containsX(e.x)) return;
    const auto p = PlaceTextSign(dc, staff, index);
    if (!p) return;
    TextAttributes a = TextAttributesOf(e);
    a.size = p->size;
    const std::string chars = TextCharacters(e);
    const std::string utf8 = AnsiToUtf8(chars);
    const Colour colour = dc.draw.drawColour;
    dc.canvas->note({.op = "textBox", .text = utf8, .x1 = p->box.left, .y1 = p->box.bottom, .x2 = p->box.right,
                     .y2 = p->box.top, .fontHeight = a.size, .colour = colour});
    const Point origin{dc.toDevice(p->baseline.x), dc.toDevice(p->baseline.y)};
    if (!p->musicFont) {
        const auto background = a.opaque ? std::optional<Colour>(OpaqueBackground) : std::nullopt;
        dc.canvas->drawText(origin, utf8, DeviceTextFont(dc, a, p->space), colour, background);
        return;
    }
    if (dc.musicFont == nullptr) return;
    // Glyphs have no cell of their own to fill: an opaque music-font text is backed by its box.
    if (a.opaque) {
        const Box device{dc.toDevice(p->box.left), dc.toDevice(p->box.bottom), dc.toDevice(p->box.right),
                         dc.toDevice(p->box.top)};
        dc.canvas->drawRect(device, ShapeStyle{std::nullopt, OpaqueBackground});
    }
    const GlyphRun run = MusicGlyphs(dc, chars, a.size);
    dc.canvas->drawGlyphs(origin, run.codePoints, dc.musicFont->atHeight(dc.toDevice(a.size), EscapementOf(a.orientation)),
                          colour);
}

}  // namespace notavera
