// System lines, braces and brackets at the left edge of the staves.
#include "render/staff_groupings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "render/primitives.h"

namespace notavera {
namespace {

// SMuFL's bracket ends: the wing curling over the staves, its origin on the outer edge of the bracket's stroke.
constexpr char32_t BracketTopCodePoint = 0xE003;
constexpr char32_t BracketBottomCodePoint = 0xE004;

// Samples along each half of the brace: enough for a smooth curve at print resolution.
constexpr int BraceSamplesPerHalf = 24;

constexpr double Pi = 3.14159265358979323846;

int Round(double v) { return static_cast<int>(std::lround(v)); }

std::vector<StaffGroup> GroupsOf(const PageRecord& page, int count, unsigned (*mark)(const StaffRecord&),
                                 bool loneStaffIsGroup) {
    const int n = std::clamp(count, 0, static_cast<int>(page.staves.size()));
    std::vector<unsigned> marks;
    marks.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) marks.push_back(mark(page.staves[static_cast<std::size_t>(i)]));
    return FindStaffGroups(marks, loneStaffIsGroup);
}

// The vertical extent of a group's drawn staves: the top line of the highest to the bottom line of the lowest.
struct Span {
    int top = 0;
    int bottom = 0;
};

int BottomLineOf(const StaffDrawState& s, const StaffMetrics& m) {
    return s.topLine - std::max(s.lines - 1, 0) * m.staffSpace[s.small ? 1 : 0];
}

std::optional<Span> SpanOf(const DrawingContext& dc, StaffGroup g) {
    std::optional<Span> span;
    for (int i = g.first; i <= g.last; ++i) {
        const StaffDrawState& s = dc.staves[static_cast<std::size_t>(i)];
        if (s.invisible) continue;
        const int bottom = BottomLineOf(s, dc.metrics);
        if (!span) span = Span{s.topLine, bottom};
        span->top = std::max(span->top, s.topLine);
        span->bottom = std::min(span->bottom, bottom);
    }
    return span;
}

void DrawBracketEnd(DrawingContext& dc, int x, int y, char32_t codePoint) {
    if (dc.musicFont == nullptr) return;
    const char32_t cp[] = {codePoint};
    dc.canvas->drawGlyphs({dc.toDevice(x), dc.toDevice(y)}, std::u32string_view(cp, 1),
                          dc.musicFont->atHeight(dc.fonts.fontHeight[0][0]), dc.draw.drawColour);
}

// A square bracket whose stroke ends at x = right: the stroke reaches a little beyond the outer staff lines and
// the wings curl over the staves.
void DrawBracket(DrawingContext& dc, int right, Span span) {
    const int space = dc.metrics.staffSpace[0];
    const double thickness = dc.musicFont ? dc.musicFont->metadata().engravingDefault("bracketThickness").value_or(0.5)
                                          : 0.5;
    const int left = right - std::max(Round(thickness * space), 2);
    const int overhang = std::max(space / 8, 1);
    const int top = span.top + overhang, bottom = span.bottom - overhang;
    DrawBand(dc, left, bottom, right, bottom, top - bottom, dc.draw.drawColour);
    DrawBracketEnd(dc, left, top, BracketTopCodePoint);
    DrawBracketEnd(dc, left, bottom, BracketBottomCodePoint);
}

void DrawBrace(DrawingContext& dc, int right, Span span) {
    const std::vector<Point> outline = BraceOutline(right, span.top, span.bottom, dc.metrics.staffSpace[0]);
    std::vector<Point> device;
    device.reserve(outline.size());
    for (const Point& p : outline) device.push_back({dc.toDevice(p.x), dc.toDevice(p.y)});
    const Colour c = dc.draw.drawColour;
    dc.canvas->drawPolygon(device, ShapeStyle{Pen{c, 0}, c});
}

unsigned SystemMark(const StaffRecord& s) { return s.key().systemGrouping(); }
unsigned BlockMark(const StaffRecord& s) { return s.key().blockGrouping(); }

}  // namespace

std::vector<StaffGroup> FindStaffGroups(std::span<const unsigned> marks, bool loneStaffIsGroup) {
    std::vector<StaffGroup> groups;
    const int n = static_cast<int>(marks.size());
    int open = -1;  // first staff of the group being read
    for (int i = 0; i < n; ++i) {
        const unsigned m = marks[static_cast<std::size_t>(i)];
        if (open >= 0 && (m == 1 || m == 3)) {
            groups.push_back({open, i - 1});
            open = -1;
        }
        if (m == 1) {
            open = i;
        } else if (m == 3) {
            groups.push_back({i, i});
        } else if (open >= 0 && m == 2) {
            groups.push_back({open, i});
            open = -1;
        } else if (open < 0 && loneStaffIsGroup) {
            groups.push_back({i, i});
        }
    }
    if (open >= 0) groups.push_back({open, n - 1});
    return groups;
}

std::vector<StaffGroup> SystemsOfPage(const PageRecord& page, int count) {
    return GroupsOf(page, count, SystemMark, true);
}

std::vector<StaffGroup> BlocksOfPage(const PageRecord& page, int count) {
    return GroupsOf(page, count, BlockMark, false);
}

std::vector<Point> BraceOutline(int right, int top, int bottom, int space) {
    const double height = std::max(top - bottom, 1);
    const double half = height / 2;
    // The brace widens with its height, within one and two staff spaces; its strokes are thickest half-way along
    // each arm and thin to points at the tips and at the middle.
    const double width = std::clamp(height * 0.08, 1.0 * space, 2.0 * space);
    const double thickest = width * 0.42, thinnest = std::max(space / 10.0, 1.0);

    // The spine of the upper arm: a cubic from the top tip to the middle point, x measured leftwards from the
    // tips and y downwards from the top. The lower arm is its mirror image.
    constexpr std::array<double, 4> cx{0.0, 0.8, 0.2, 1.0};
    constexpr std::array<double, 4> cy{0.0, 0.15, 0.85, 1.0};
    auto spine = [&](double s) {
        const double a = 1 - s;
        const std::array<double, 4> b{a * a * a, 3 * a * a * s, 3 * a * s * s, s * s * s};
        double x = 0, y = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            x += b[k] * cx[k];
            y += b[k] * cy[k];
        }
        return std::array<double, 2>{x * width, y * half};
    };

    constexpr int samples = 2 * BraceSamplesPerHalf + 1;
    std::array<std::array<double, 2>, samples> centre{};
    std::array<double, samples> thickness{};
    for (int i = 0; i < samples; ++i) {
        const bool lower = i > BraceSamplesPerHalf;
        const double s = static_cast<double>(lower ? samples - 1 - i : i) / BraceSamplesPerHalf;
        std::array<double, 2> p = spine(s);
        if (lower) p[1] = height - p[1];
        centre[static_cast<std::size_t>(i)] = p;
        thickness[static_cast<std::size_t>(i)] = thinnest + (thickest - thinnest) * std::sin(Pi * s);
    }

    // Each side of the stroke lies half the thickness away from the spine, across its direction.
    std::vector<Point> outline(2 * samples);
    for (int i = 0; i < samples; ++i) {
        const auto& before = centre[static_cast<std::size_t>(std::max(i - 1, 0))];
        const auto& after = centre[static_cast<std::size_t>(std::min(i + 1, samples - 1))];
        const double dx = after[0] - before[0], dy = after[1] - before[1];
        const double length = std::max(std::hypot(dx, dy), 1e-9);
        const double nx = -dy / length, ny = dx / length;
        const double t = thickness[static_cast<std::size_t>(i)] / 2;
        const auto& c = centre[static_cast<std::size_t>(i)];
        outline[static_cast<std::size_t>(i)] = {right - Round(c[0] + nx * t), top - Round(c[1] + ny * t)};
        outline[static_cast<std::size_t>(2 * samples - 1 - i)] = {right - Round(c[0] - nx * t),
                                                                  top - Round(c[1] - ny * t)};
    }
    return outline;
}

void DrawStaffGroupings(DrawingContext& dc, const PageRecord& page, int count) {
    if (dc.canvas == nullptr) return;
    const int n = std::min({count, static_cast<int>(page.staves.size()), static_cast<int>(dc.staves.size())});
    const int lineWidth = dc.thickness.barLine;
    const int gap = std::max(dc.metrics.staffSpace[0] / 4, 1);

    for (const StaffGroup& g : SystemsOfPage(page, n)) {
        if (g.first == g.last) continue;
        const std::optional<Span> span = SpanOf(dc, g);
        if (span) DrawVLine(dc, span->bottom, span->top, dc.staves[static_cast<std::size_t>(g.first)].left, lineWidth);
    }
    for (const StaffGroup& g : BlocksOfPage(page, n)) {
        const std::optional<Span> span = SpanOf(dc, g);
        if (!span) continue;
        const int right = dc.staves[static_cast<std::size_t>(g.first)].left - (lineWidth + 1) / 2 - gap;
        if (page.staves[static_cast<std::size_t>(g.first)].lines().brace())
            DrawBrace(dc, right, *span);
        else
            DrawBracket(dc, right, *span);
    }
}

}  // namespace notavera
