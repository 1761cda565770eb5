// Beam groups: finding them in the staff's list, their direction, their geometry and their drawing.
#include "render/beams.h"

#include <algorithm>
#include <cmath>

#include "render/chords.h"
#include "render/primitives.h"
#include "score/durations.h"

namespace notavera {
namespace {

// Engraving defaults of SMuFL fonts, for a font whose metadata lacks them.
constexpr double DefaultBeamThickness = 0.5;
constexpr double DefaultBeamSpacing = 0.25;
// The clear stem every note keeps between its head and its innermost beam, in staff spaces.
constexpr double MinimumClearStem = 2.0;

int Round(double v) { return static_cast<int>(std::lround(v)); }

const ElementRecord& At(const StaffRecord& staff, int index) { return staff.elements[static_cast<std::size_t>(index)]; }

int Count(const StaffRecord& staff) { return static_cast<int>(staff.elements.size()); }

// The chord run of a note (the note alone when it is no chord member).
ChordRun RunOf(const StaffRecord& staff, int index) {
    return IsChordMember(At(staff, index)) ? FindChordRun(staff, index) : ChordRun{index, index};
}

bool RunHas(const StaffRecord& staff, ChordRun run, bool (*test)(const ElementRecord&)) {
    for (int j = run.first; j <= run.last; ++j) {
        if (test(At(staff, j))) return true;
    }
    return false;
}

bool Opens(const ElementRecord& e) { return e.w0().opensBeam(); }
bool Closes(const ElementRecord& e) { return e.w0().closesBeam(); }

// The next note or rest from `index` in direction `step`, signs skipped; -1 at the staff's end.
int NextEvent(const StaffRecord& staff, int index, int step) {
    for (int j = index + step; j >= 0 && j < Count(staff); j += step) {
        if (!At(staff, j).isSign()) return j;
    }
    return -1;
}

struct Column {
    NoteLayout tip;   // the head nearest the beam, which carries the stem
    NoteLayout root;  // the head the stem leaves
    bool stemLeftToBeam = false;  // the notes were drawn stemless: their stem is the beam drawer's
    int onset = 0;     // 256ths from the group's first note
    int duration = 0;
};

int Duration(const ElementRecord& e) { return NoteDuration(e.noteWord().durationCode(), e.noteWord().dots()); }

// A chord of the group, with its stem turned the group's way when its own stems are fixed otherwise.
std::optional<Column> ChordColumn(const DrawingContext& dc, const StaffRecord& staff, ChordRun run, bool up) {
    const auto chord = LayOutChord(dc, staff, run);
    if (!chord) return std::nullopt;
    Column c;
    c.tip = chord->stemMember().layout;
    c.root = chord->root().layout;
    c.stemLeftToBeam = chord->inBeam;
    if (chord->stemUp != up) std::swap(c.tip, c.root);
    return c;
}

std::optional<Column> SingleColumn(const DrawingContext& dc, const StaffRecord& staff, int index) {
    const ElementRecord& e = At(staff, index);
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place || !IsDrawn(dc, e)) return std::nullopt;
    Column c;
    c.tip = SingleNoteLayout(dc, *place, e);
    c.stemLeftToBeam = c.tip.inBeam;
    c.root = c.tip;
    return c;
}

// The group's notes from the eighth on that are drawn, in order, each with its place in time.
std::vector<Column> CollectColumns(const DrawingContext& dc, const StaffRecord& staff, BeamGroupRange range, bool up) {
    std::vector<Column> columns;
    int t = 0;
    for (int j = range.first; j <= range.last; ++j) {
        const ElementRecord& e = At(staff, j);
        if (e.isSign()) continue;
        if (e.isRest()) {
            t += Duration(e);
            continue;
        }
        const ChordRun run = RunOf(staff, j);
        auto column = IsChordMember(e) ? ChordColumn(dc, staff, run, up) : SingleColumn(dc, staff, j);
        j = run.last;
        const int duration = Duration(e);
        if (column && column->tip.value >= 5 && HasStem(*column->tip.element, column->tip.value)) {
            column->tip.stemUp = column->root.stemUp = up;
            column->onset = t;
            column->duration = duration;
            columns.push_back(*column);
        }
        t += duration;
    }
    return columns;
}

// Thickness and gap of the beams for a staff space: the font's engraving defaults, which "Barres valeur" and
// "Blancs barre valeur" scale from their own defaults (10 and 5: a staff of definition 20 draws exactly the font's
// proportions).
void BeamStrokes(const DrawingContext& dc, double space, int& thickness, int& gap) {
    double t = DefaultBeamThickness, s = DefaultBeamSpacing;
    if (dc.musicFont != nullptr) {
        t = dc.musicFont->metadata().engravingDefault("beamThickness").value_or(t);
        s = dc.musicFont->metadata().engravingDefault("beamSpacing").value_or(s);
    }
    const LineThicknesses defaults;
    thickness = std::max(1, Round(t * space * dc.thickness.beam / defaults.beam));
    gap = std::max(1, Round(s * space * dc.thickness.beamGap / defaults.beamGap));
}

double ColumnSpace(const DrawingContext& dc, const Column& c) {
    const double space = dc.metrics.staffSpace[c.tip.place.size];
    const SizeRatios& r = dc.ratios;
    return c.tip.element->w0().cueSize() && r.cueDen != 0 ? space * r.cueNum / r.cueDen : space;
}

// The least-squares slope through the points, 0 when it is undefined.
double FittedSlope(const std::vector<double>& xs, const std::vector<double>& ys) {
    const double n = static_cast<double>(xs.size());
    double sx = 0, sy = 0, sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        sx += xs[i];
        sy += ys[i];
        sxy += xs[i] * ys[i];
        sxx += xs[i] * xs[i];
    }
    const double num = n * sxy - sx * sy, den = n * sxx - sx * sx;
    return num == 0 || den == 0 ? 0 : num / den;
}

double LimitedSlope(const BeamSettings& limits, double slope) {
    if (std::abs(slope) < limits.minSlope) return 0;
    if (std::abs(slope) > limits.maxSlope) return std::copysign(limits.maxSlope, slope);
    return slope;
}

// Whether a note alone on level k points its partial beam back to the previous note: at the group's end, or when
// it completes the value of the level above (a sixteenth after a dotted eighth).
bool HookPointsBack(const std::vector<Column>& columns, std::size_t i, int level) {
    if (i == 0) return false;
    if (i + 1 == columns.size()) return true;
    const int pair = 2 * (1024 >> (4 + level));
    return pair > 0 && (columns[i].onset + columns[i].duration) % pair == 0;
}

struct StemEdges {
    int left = 0;
    int right = 0;
};

StemEdges EdgesOf(const DrawingContext& dc, const BeamedStem& s) {
    const int left = s.x - dc.thickness.stem / 2;
    return {left, left + dc.thickness.stem};
}

void AddSegment(BeamLayout& layout, int level, int x1, int x2, int offset) {
    const int thickness = layout.up ? -layout.thickness : layout.thickness;
    layout.beams.push_back({level, x1, Round(layout.outerEdgeAt(x1)) + offset, x2,
                            Round(layout.outerEdgeAt(x2)) + offset, thickness});
}

void AddBeams(const DrawingContext& dc, BeamLayout& layout, const std::vector<Column>& columns) {
    const auto& stems = layout.stems;
    const int n = static_cast<int>(stems.size());
    const int pitch = layout.thickness + layout.gap;
    AddSegment(layout, 1, EdgesOf(dc, stems.front()).left, EdgesOf(dc, stems.back()).right, 0);
    const int deepest = std::max_element(stems.begin(), stems.end(), [](const BeamedStem& a, const BeamedStem& b) {
                            return a.levels < b.levels;
                        })->levels;
    const int hookLength = 2 * dc.widths.noteheadHalfWidth[dc.sizeIndex()][dc.cueIndex()];
    for (int level = 2; level <= deepest; ++level) {
        const int offset = (layout.up ? -1 : 1) * (level - 1) * pitch;
        for (int i = 0; i < n;) {
            if (stems[static_cast<std::size_t>(i)].levels < level) {
                ++i;
                continue;
            }
            int j = i;
            while (j + 1 < n && stems[static_cast<std::size_t>(j) + 1].levels >= level) ++j;
            const StemEdges a = EdgesOf(dc, stems[static_cast<std::size_t>(i)]);
            if (j > i) {
                AddSegment(layout, level, a.left, EdgesOf(dc, stems[static_cast<std::size_t>(j)]).right, offset);
            } else if (HookPointsBack(columns, static_cast<std::size_t>(i), level)) {
                const int room = (stems[static_cast<std::size_t>(i)].x - stems[static_cast<std::size_t>(i) - 1].x) / 2;
                AddSegment(layout, level, a.right - std::min(hookLength, room), a.right, offset);
            } else {
                // A group of one stem has no neighbour to share the room with.
                const int room = i + 1 < n
                                     ? (stems[static_cast<std::size_t>(i) + 1].x - stems[static_cast<std::size_t>(i)].x) / 2
                                     : hookLength;
                AddSegment(layout, level, a.left, a.left + std::min(hookLength, room), offset);
            }
            i = j + 1;
        }
    }
}

// Moves the line outwards until every stem keeps its clear length and, with automatic stems, reaches the middle
// line.
double OutwardShift(const DrawingContext& dc, const BeamLayout& layout, const std::vector<Column>& columns,
                    bool automatic) {
    const double dir = layout.up ? 1 : -1;
    const int pitch = layout.thickness + layout.gap;
    double shift = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const BeamedStem& s = layout.stems[i];
        const double space = ColumnSpace(dc, columns[i]);
        const double clear = std::min(MinimumClearStem, dc.beams.averageHeight) * space;
        const double inner = layout.outerEdgeAt(s.x) - dir * (layout.thickness + (s.levels - 1) * pitch);
        shift = std::max(shift, clear - dir * (inner - s.tipY));
        if (automatic) {
            const int middle = columns[i].tip.place.middleLine(dc.metrics);
            shift = std::max(shift, dir * (middle - layout.outerEdgeAt(s.x)));
        }
    }
    return dir * shift;
}

}  // namespace

double BeamLayout::outerEdgeAt(int x) const { return originY + slope * (x - originX); }

std::optional<BeamGroupRange> FindBeamGroup(const StaffRecord& staff, int index) {
    if (index < 0 || index >= Count(staff)) return std::nullopt;
    if (At(staff, index).isSign() || !At(staff, index).w0().inBeam()) return std::nullopt;
    ChordRun start = RunOf(staff, index);
    while (!RunHas(staff, start, Opens)) {
        const int before = NextEvent(staff, start.first, -1);
        if (before < 0 || !At(staff, before).w0().inBeam()) break;
        const ChordRun run = RunOf(staff, before);
        if (RunHas(staff, run, Closes)) break;
        start = run;
    }
    ChordRun end = RunOf(staff, index);
    while (!RunHas(staff, end, Closes)) {
        const int after = NextEvent(staff, end.last, 1);
        if (after < 0 || !At(staff, after).w0().inBeam()) break;
        const ChordRun run = RunOf(staff, after);
        if (RunHas(staff, run, Opens)) break;
        end = run;
    }
    return BeamGroupRange{start.first, end.last};
}

bool BeamGroupStemUp(const DrawingContext& dc, const StaffRecord& staff, BeamGroupRange range) {
    int above = 0, below = 0;
    long long sum = 0;
    for (int j = range.first; j <= range.last; ++j) {
        const ElementRecord& e = At(staff, j);
        if (!e.isNote() || !IsDrawn(dc, e)) continue;
        if (!e.noteWord().stemAutomatic()) return e.noteWord().stemFlag();
        const auto place = PlaceOfElement(dc, staff, e);
        if (!place) continue;
        const int d = PitchHeight(dc, *place, e) - place->middleLine(dc.metrics);
        above = std::max(above, d);
        below = std::max(below, -d);
        sum += d;
    }
    if (above != below) return below > above;
    return sum < 0;
}

std::optional<bool> BeamGroupStemUpAt(const DrawingContext& dc, const StaffRecord& staff, int index) {
    const auto range = FindBeamGroup(staff, index);
    if (!range) return std::nullopt;
    return BeamGroupStemUp(dc, staff, *range);
}

std::optional<BeamLayout> LayOutBeamGroup(DrawingContext& dc, const StaffRecord& staff, BeamGroupRange range) {
    BeamLayout layout;
    layout.up = BeamGroupStemUp(dc, staff, range);
    const std::vector<Column> columns = CollectColumns(dc, staff, range, layout.up);
    if (columns.empty()) return std::nullopt;
    const Column& first = columns.front();
    const ElementSizeScope scope(dc, first.tip.place, first.tip.element->w0().cueSize());
    BeamStrokes(dc, ColumnSpace(dc, first), layout.thickness, layout.gap);
    const int pitch = layout.thickness + layout.gap;
    const double dir = layout.up ? 1 : -1;

    bool automatic = true;
    std::vector<double> ys;
    for (const Column& c : columns) {
        const ElementSizeScope own(dc, c.tip.place, c.tip.element->w0().cueSize());
        const Stem stem = NoteStem(dc, c.tip, c.root);
        BeamedStem s;
        s.index = static_cast<int>(c.tip.element - staff.elements.data());
        s.x = stem.x;
        s.from = stem.from;
        s.tipY = c.tip.y;
        s.levels = FlagCount(c.tip.value);
        layout.stems.push_back(s);
        automatic = automatic && c.tip.element->noteWord().stemAutomatic();
        const double reach = dc.beams.averageHeight * ColumnSpace(dc, c) + layout.thickness +
                             std::max(0, s.levels - 2) * pitch + NoteBlobWord(*c.tip.element, 0);
        ys.push_back(s.tipY + dir * reach);
    }
    // Positions count from the first stem, which keeps the sums small.
    layout.originX = layout.stems.front().x;
    std::vector<double> xs;
    double meanX = 0, meanY = 0;
    for (std::size_t i = 0; i < ys.size(); ++i) {
        xs.push_back(layout.stems[i].x - layout.originX);
        meanX += xs.back();
        meanY += ys[i];
    }
    meanX /= static_cast<double>(xs.size());
    meanY /= static_cast<double>(ys.size());
    layout.slope = LimitedSlope(dc.beams, FittedSlope(xs, ys)) + NoteBlobWord(*first.tip.element, 1) / 100.0;
    // The line passes through the points' centre whatever the slope became.
    layout.originY = meanY - layout.slope * meanX;
    layout.originY += OutwardShift(dc, layout, columns, automatic);
    for (BeamedStem& s : layout.stems) s.to = Round(layout.outerEdgeAt(s.x));
    AddBeams(dc, layout, columns);
    return layout;
}

void DrawBeamGroupEndingAt(DrawingContext& dc, const StaffRecord& staff, int index) {
    const auto range = FindBeamGroup(staff, index);
    if (!range) return;
    // The group is drawn once, after the last of its notes and rests that the pass draws.
    for (int j = RunOf(staff, index).last + 1; j <= range->last; ++j) {
        const ElementRecord& e = At(staff, j);
        if (!e.isSign() && IsDrawn(dc, e)) return;
    }
    const bool up = BeamGroupStemUp(dc, staff, *range);
    const std::vector<Column> columns = CollectColumns(dc, staff, *range, up);
    if (columns.size() == 1) {
        // One note from the eighth on makes no beam: it was drawn stemless, and takes its own stem and flags.
        const Column& c = columns.front();
        if (!c.stemLeftToBeam) return;
        const ElementSizeScope scope(dc, c.tip.place, c.tip.element->w0().cueSize());
        DrawStemAndFlags(dc, c.tip, NoteStem(dc, c.tip, c.root));
        return;
    }
    const auto layout = LayOutBeamGroup(dc, staff, *range);
    if (!layout) return;
    for (const BeamedStem& s : layout->stems) DrawVLine(dc, s.from, s.to, s.x, dc.thickness.stem);
    for (const BeamSegment& b : layout->beams) DrawBand(dc, b.x1, b.y1, b.x2, b.y2, b.thickness, dc.draw.drawColour);
}

}  // namespace notavera
