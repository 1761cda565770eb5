// Bar lines: their strokes over the staff or its group, the repeat dots, dashed bars, and the braces and brackets
// that bar codes 1–64 and −1 to −64 stand for.
#include <algorithm>
#include <cmath>

#include "render/draw_signs.h"
#include "render/primitives.h"
#include "render/staff_frame.h"

namespace notavera {
namespace {

constexpr unsigned SingleBar = '|', DoubleBar = 'D', FinalBar = 'E', EndRepeat = 'F', StartRepeat = 'O',
                   EntryBar = 'I', DoubleRepeat = 'R', SpecialBar = 12;
constexpr int RepeatDotsCode = 90;
constexpr int MaxJoinedStaves = 64;

// How far a bar reaches over its staff group (sign word bits 7–8).
enum class BarReach : unsigned {
    Automatic = 0,      // its staff, and down to the next staff of its group unless bars stay per staff
    OwnStaff = 1,       // its own staff only
    WholeGroup = 2,     // from its staff down to the last staff of its group: one bar serves the group
    BetweenStaves = 3,  // only the gap down to the next staff of its group (the early-music Mensurstrich)
};

// The vertical run of a bar's strokes, and the staves of its group it may run across: its own and those below.
struct BarSpan {
    int top = 0;
    int bottom = 0;
    int firstStaff = 0;
    int lastStaff = -1;
};

struct Strokes {
    int thin = 3;
    int thick = 10;
    int gap = 5;
    // From a thick stroke's centre to the centre of a thin stroke beside it, the gap between their edges.
    int thickToThin() const { return (thick + thin + 1) / 2 + gap; }
};

Strokes StrokesOf(const DrawingContext& dc, bool small) {
    Strokes s{dc.thickness.barLine, dc.thickness.beam, dc.thickness.beamGap};
    if (small) {
        s.thick = s.thick * dc.ratios.smallNum / dc.ratios.smallDen;
        s.gap = s.gap * dc.ratios.smallNum / dc.ratios.smallDen;
    }
    return s;
}

// Staves of the group below the bar's staff, as its voice word counts them.
int StavesBelowInGroup(const StaffRecord& staff) {
    const int position = static_cast<int>(staff.voice().positionInGroup());
    const int size = static_cast<int>(staff.voice().groupSize());
    return position >= 1 && size > position ? size - position : 0;
}

std::optional<BarSpan> SpanOf(const DrawingContext& dc, const StaffRecord& staff, const StaffFrame& own,
                              BarReach reach) {
    const int below = StavesBelowInGroup(staff);
    BarSpan span{own.extentTop, own.extentBottom, own.index, own.index + below};
    // A staff superposed on this one (a second voice at the same height) is not the next staff down: the bar goes
    // on to the first staff of the group that stands lower.
    std::optional<StaffFrame> next;
    for (int k = 1; k <= below && !next; ++k) {
        next = FrameOfStaff(dc, own.index + k);
        if (next && next->extentTop >= own.extentBottom) next.reset();
    }
    // A staff superposed on the one before it leaves the way down to the staff below to that one's bar, which draws it
    // already: drawn twice, it would darken.
    const std::optional<StaffFrame> previous =
        staff.voice().positionInGroup() > 1 ? FrameOfStaff(dc, own.index - 1) : std::nullopt;
    const bool superposed = previous && previous->extentTop == own.extentTop;
    switch (reach) {
    case BarReach::Automatic:
        if (next && !dc.draw.barsPerStaff && !superposed) span.bottom = next->extentTop;
        break;
    case BarReach::OwnStaff: break;
    case BarReach::WholeGroup:
        for (int last = own.index + below; last > own.index; --last) {
            if (const auto f = FrameOfStaff(dc, last)) {
                span.bottom = f->extentBottom;
                break;
            }
        }
        break;
    case BarReach::BetweenStaves:
        if (!next) return std::nullopt;
        span.top = own.extentBottom;
        span.bottom = next->extentTop;
        break;
    }
    return span;
}

void Stroke(DrawingContext& dc, const BarSpan& span, int x, int width) { DrawVLine(dc, span.bottom, span.top, x, width); }

// Repeat dots on the middle line of every staff the bar's strokes run across (a bar through its group dots every
// staff of it, a stroke between two staves none), beside a thin stroke at thinX, each in its staff's size: their
// edge keeps the font's repeat-dot separation from the stroke's edge.
void RepeatDots(DrawingContext& dc, const BarSpan& span, int thinX, int thin, bool left) {
    const double separation =
        dc.musicFont ? dc.musicFont->metadata().engravingDefault("repeatBarlineDotSeparation").value_or(0.16) : 0.16;
    const bool small = dc.draw.isSmallStaff;
    for (int s = span.firstStaff; s <= span.lastStaff; ++s) {
        const auto f = FrameOfStaff(dc, s);
        if (!f || f->middleLine() > span.top || f->middleLine() < span.bottom) continue;
        dc.draw.isSmallStaff = f->small;
        const double edge = thin / 2.0 + separation * f->staffSpace;
        const int dotsWidth = GlyphWidth(dc, RepeatDotsCode, f->small, dc.draw.isCueSize);
        const int x = left ? static_cast<int>(std::lround(thinX - edge)) - dotsWidth
                           : static_cast<int>(std::lround(thinX + edge));
        PutGlyph(dc, x, f->middleLine(), RepeatDotsCode);
    }
    dc.draw.isSmallStaff = small;
}

void DrawBarStrokes(DrawingContext& dc, unsigned code, int x, const BarSpan& span, const Strokes& s) {
    const int d = s.thickToThin();
    switch (code) {
    case SingleBar: Stroke(dc, span, x, s.thin); break;
    case DoubleBar:
        Stroke(dc, span, x, s.thin);
        Stroke(dc, span, x - s.gap - s.thin, s.thin);
        break;
    case FinalBar:
    case EndRepeat:
        Stroke(dc, span, x, s.thick);
        Stroke(dc, span, x - d, s.thin);
        if (code == EndRepeat) RepeatDots(dc, span, x - d, s.thin, true);
        break;
    case StartRepeat:
    case EntryBar:
        Stroke(dc, span, x, s.thick);
        Stroke(dc, span, x + d, s.thin);
        if (code == StartRepeat) RepeatDots(dc, span, x + d, s.thin, false);
        break;
    case DoubleRepeat:
        Stroke(dc, span, x - d, s.thin);
        Stroke(dc, span, x, s.thick);
        Stroke(dc, span, x + d, s.thin);
        RepeatDots(dc, span, x - d, s.thin, true);
        RepeatDots(dc, span, x + d, s.thin, false);
        break;
    default: break;
    }
}

// Bar code 12: a short stroke from the second line to the fourth, the division of chant and early music.
void DrawSpecialBar(DrawingContext& dc, const StaffFrame& frame, int x, const Strokes& s) {
    DrawVLine(dc, frame.middleLine() - frame.staffSpace, frame.middleLine() + frame.staffSpace, x, s.thin);
}

// Codes 1–64 join this staff to the staff that many below with a brace, −1 to −64 with a square bracket.
void DrawJoin(DrawingContext& dc, const StaffFrame& own, int x, int code) {
    const int count = code < 0 ? -code : code;
    const auto last = FrameOfStaff(dc, own.index + count);
    if (!last) return;
    if (code > 0)
        DrawBrace(dc, x, own.extentTop, last->extentBottom);
    else
        DrawSquareBracket(dc, x, own.extentTop, last->extentBottom);
}

}  // namespace

void DrawBar(DrawingContext& dc, const StaffRecord& staff, int index) {
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const auto frame = FrameOfStaff(dc, static_cast<int>(staff.key().index()));
    if (!frame) return;
    const auto sign = e.signWord();
    const int x = e.x + e.shift;
    const int signedCode = sign.signedCode();
    const Strokes strokes = StrokesOf(dc, frame->small);
    if (sign.code() == SpecialBar) {
        DrawSpecialBar(dc, *frame, x, strokes);
        return;
    }
    if (signedCode != 0 && signedCode >= -MaxJoinedStaves && signedCode <= MaxJoinedStaves) {
        DrawJoin(dc, *frame, x, signedCode);
        return;
    }
    const auto span = SpanOf(dc, staff, *frame, static_cast<BarReach>(sign.pairA()));
    if (!span) return;
    // Dashed bars keep their pen style for their own strokes only.
    dc.draw.lineStyle = static_cast<int>(sign.high7());
    DrawBarStrokes(dc, sign.code(), x, *span, strokes);
    dc.draw.lineStyle = 0;
}

std::optional<int> ClosingBarRight(const DrawingContext& dc, const StaffRecord& staff, bool smallStaff) {
    const auto last = std::max_element(staff.elements.begin(), staff.elements.end(),
                                       [](const ElementRecord& a, const ElementRecord& b) { return a.x < b.x; });
    if (last == staff.elements.end() || !last->isSignOfType(SignType::Bar)) return std::nullopt;
    const unsigned code = last->signWord().code();
    if (code != FinalBar && code != EndRepeat) return std::nullopt;
    return last->x + last->shift + (StrokesOf(dc, smallStaff).thick + 1) / 2;
}

}  // namespace notavera
