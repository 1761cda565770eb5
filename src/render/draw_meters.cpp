// Time signatures: numerals, the one-character forms (C, cut C and the like), the mensural signs, and the playback
// proportion each one sets.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "render/accidentals_and_dots.h"
#include "render/draw_signs.h"
#include "render/note_geometry.h"
#include "render/primitives.h"
#include "render/staff_frame.h"

namespace notavera {
namespace {

// The display flags of a time signature: its code, sign word bits 17–23.
constexpr unsigned Numerals = 1u << 0;
constexpr unsigned ProlationDot = 1u << 1;    // "Point de prolation"
constexpr unsigned VerticalStroke = 1u << 2;  // "Barre verticale"
constexpr unsigned SecondArc = 1u << 3;       // "Temps imp. double"
constexpr unsigned FirstArc = 1u << 4;        // "Temps imparfait"
constexpr unsigned Circle = 1u << 5;
constexpr unsigned OneCharacter = 1u << 6;

// Sub-forms 0–5 of the one-character time signatures.
constexpr std::array<int, 6> FormCodes{140, 129, '2', '3', 127, 128};
constexpr std::array<PlaybackProportion, 6> FormProportions{{{4, 4}, {2, 2}, {2, 2}, {3, 2}, {4, 2}, {6, 2}}};

constexpr int MensuralPenWidth = 5;
constexpr int VerticalStrokeWidth = 4;

int TextWidth(const DrawingContext& dc, const std::string& codes) {
    int width = 0;
    for (char c : codes) width += GlyphWidth(dc, static_cast<unsigned char>(c), dc.draw.isSmallStaff, dc.draw.isCueSize);
    return width;
}

// The least room between the inks of neighbouring digits of a number, in staff spaces. The fonts' side bearings
// leave less than a fifth of a space between a 1 and a 2, which prints and shows as one shape.
constexpr double DigitInkGap = 0.25;

// A number's digits as they are written: each one advances its own width, and moves further when its ink would
// come closer to the digit before than the gap. Offsets from the number's left edge, and its whole width.
struct NumberLayout {
    std::string digits;
    std::vector<int> offsets;
    int width = 0;
};

NumberLayout LayOutNumber(const DrawingContext& dc, unsigned number) {
    NumberLayout n{std::to_string(number), {}, 0};
    const int gap = static_cast<int>(std::lround(DigitInkGap * GlyphSpace(dc)));
    int pen = 0;
    int inkEnd = 0;
    for (std::size_t i = 0; i < n.digits.size(); ++i) {
        const int code = static_cast<unsigned char>(n.digits[i]);
        const GlyphInkBox ink = GlyphInk(dc, code, dc.draw.isSmallStaff, dc.draw.isCueSize);
        if (i > 0) pen = std::max(pen, inkEnd + gap - ink.left);
        n.offsets.push_back(pen);
        inkEnd = pen + ink.right;
        pen += GlyphAdvance(dc, code);
    }
    n.width = pen;
    return n;
}

// A number centred on cx with its baseline at y. Returns its half width.
int DrawNumber(DrawingContext& dc, int cx, int y, unsigned number) {
    const NumberLayout n = LayOutNumber(dc, number);
    const int left = cx - n.width / 2;
    for (std::size_t i = 0; i < n.digits.size(); ++i)
        PutGlyph(dc, left + n.offsets[i], y, static_cast<unsigned char>(n.digits[i]));
    return n.width - n.width / 2;
}

// Numerals centred on cx: the numerator standing on the middle line over the denominator standing on the bottom
// line, or alone on the second line. Returns the right edge of the wider one.
int DrawNumerals(DrawingContext& dc, const StaffFrame& frame, int x, unsigned num, unsigned den) {
    const int cx = x + (num > 9 || den > 9 ? 2 * dc.metrics.stepUnit : 0);
    if (den == 0) return cx + DrawNumber(dc, cx, frame.bottomLine() + frame.staffSpace, num);
    const int top = DrawNumber(dc, cx, frame.middleLine(), num);
    return cx + std::max(top, DrawNumber(dc, cx, frame.bottomLine(), den));
}

// The one-character forms stand on the second line, so that they are centred on the middle one.
int DrawForm(DrawingContext& dc, const StaffFrame& frame, int x, unsigned form) {
    if (form >= FormCodes.size()) return x;
    const std::string text(1, static_cast<char>(FormCodes[form]));
    PutGlyphText(dc, x, frame.bottomLine() + frame.staffSpace, text, true);
    return x + TextWidth(dc, text) / 2;
}

bool ShapesSkipped(const DrawingContext& dc, int x) {
    return dc.canvas == nullptr || (dc.inMetafilePass() && !dc.exportRegion.containsX(x));
}

// The circle and the two arcs of mensural time, a staff space in radius round the middle line: the first arc is the
// C of tempus imperfectum, open to the right; the second its reversed form, open to the left.
void DrawMensuralCurves(DrawingContext& dc, const StaffFrame& frame, int x, unsigned flags) {
    if (ShapesSkipped(dc, x)) return;
    const int r = frame.staffSpace, cy = frame.middleLine();
    const Box box{dc.toDevice(x - r), dc.toDevice(cy - r), dc.toDevice(x + r), dc.toDevice(cy + r)};
    const Pen pen{dc.draw.drawColour, MensuralPenWidth, PenStyle::Solid, PenEnds::Round};
    const Point upperRight{box.right, box.top}, lowerRight{box.right, box.bottom};
    const Point upperLeft{box.left, box.top}, lowerLeft{box.left, box.bottom};
    if ((flags & Circle) != 0) dc.canvas->drawEllipse(box, ShapeStyle{pen, std::nullopt});
    if ((flags & FirstArc) != 0) dc.canvas->drawArc(box, upperRight, lowerRight, pen);
    if ((flags & SecondArc) != 0) dc.canvas->drawArc(box, lowerLeft, upperLeft, pen);
}

int DrawMensural(DrawingContext& dc, const StaffFrame& frame, int x, unsigned flags) {
    DrawMensuralCurves(dc, frame, x, flags);
    if ((flags & VerticalStroke) != 0) DrawVLine(dc, frame.bottomLine(), frame.topLine(), x, VerticalStrokeWidth);
    if ((flags & ProlationDot) != 0) DrawDisc(dc, x, frame.middleLine(), DotRadius(dc));
    return (flags & (Circle | FirstArc | SecondArc)) != 0 ? x + frame.staffSpace : x;
}

}  // namespace

PlaybackProportion TimeSignatureProportion(const ElementRecord& e) {
    const unsigned flags = e.signWord().code();
    if ((flags & OneCharacter) != 0) {
        const unsigned form = e.signWord().subValue();
        return form < FormProportions.size() ? FormProportions[form] : PlaybackProportion{};
    }
    PlaybackProportion p;
    if ((flags & Numerals) != 0) {
        p = {static_cast<float>(std::max(e.w1().numerator(), 1u)), static_cast<float>(std::max(e.w1().denominator(), 1u))};
    } else if ((flags & ProlationDot) != 0) {
        p = {9, 4};
    } else if ((flags & SecondArc) != 0) {
        p = {4, 2};
    } else if ((flags & (Circle | FirstArc)) != 0) {
        p = {2, 2};
    }
    if ((flags & VerticalStroke) != 0) p.den = 1;
    return p;
}

int DrawTimeSignature(DrawingContext& dc, const StaffRecord& staff, int index, bool visible) {
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const int x = e.x + e.shift;
    dc.playbackProportion = TimeSignatureProportion(e);
    const auto frame = FrameOfStaff(dc, static_cast<int>(staff.key().index()));
    if (!visible || !frame) return x;
    const unsigned flags = e.signWord().code();
    int right = x;
    if ((flags & Numerals) != 0)
        right = std::max(right, DrawNumerals(dc, *frame, x, e.w1().numerator(), e.w1().denominator()));
    if ((flags & OneCharacter) != 0) right = std::max(right, DrawForm(dc, *frame, x, e.signWord().subValue()));
    right = std::max(right, DrawMensural(dc, *frame, x, flags));
    return right + 6 * dc.metrics.stepUnit;
}

}  // namespace notavera
