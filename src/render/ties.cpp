// Ties and slurs: the notes a curve joins, its side, its end points and peak, chord ties member by member, and the
// pending start that carries a curve from the note that opens it to the note that closes it.
#include "render/ties.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "render/arc_curve.h"
#include "render/chords.h"

namespace notavera {
namespace {

// Articulation kinds written at the stem's end rather than at the head.
bool AtStemEndKind(unsigned kind) { return kind == 4 || kind == 6 || kind == 7; }

// One note as the curves see it. Heights are page units.
struct CurveNote {
    int index = 0;
    const ElementRecord* e = nullptr;
    StaffPlace place;
    int x = 0;
    int y = 0;
    int value = 4;
    bool stemUp = true;
    bool hasStem = false;
    int stemEnd = 0;
    int headHalf = 0;
    HeadSpan extent;  // the head with its accidental and dots
    unsigned articulation = 0;  // kind 1–7; 0 none
    bool articulationUp = false;
};

const ElementRecord& At(const StaffRecord& staff, int index) { return staff.elements[static_cast<std::size_t>(index)]; }

bool ValidNote(const StaffRecord& staff, int index) {
    return index >= 0 && index < static_cast<int>(staff.elements.size()) && At(staff, index).isNote();
}

std::optional<NoteLayout> LayoutOf(const DrawingContext& dc, const StaffRecord& staff, int index) {
    const ElementRecord& e = At(staff, index);
    if (IsChordMember(e)) {
        const auto chord = LayOutChord(dc, staff, FindChordRun(staff, index));
        if (!chord) return std::nullopt;
        for (const ChordMember& m : chord->walk) {
            if (m.index == index) return m.layout;
        }
        return std::nullopt;
    }
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place) return std::nullopt;
    return SingleNoteLayout(dc, *place, e);
}

// Where the stem of a note on the curve's side ends: under a beam at the stem's own length, otherwise two spaces
// from the head and half a space more for each value shorter than a half.
int StemEndFor(DrawingContext& dc, const NoteLayout& n) {
    if (n.inBeam && n.value >= 5) return NoteStem(dc, n, n).to;
    const int reach = 2 * dc.metrics.staffSpace[n.place.size] + (n.value - 3) * dc.metrics.halfSpace[n.place.size];
    return n.stemUp ? n.y + reach : n.y - reach;
}

std::optional<CurveNote> MakeCurveNote(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (!ValidNote(staff, index) || !IsDrawn(dc, At(staff, index))) return std::nullopt;
    const auto layout = LayoutOf(dc, staff, index);
    if (!layout) return std::nullopt;
    const ElementRecord& e = At(staff, index);
    const ElementSizeScope scope(dc, layout->place, e.w0().cueSize());
    CurveNote n;
    n.index = index;
    n.e = &e;
    n.place = layout->place;
    n.x = e.x + e.shift;
    n.y = layout->y;
    n.value = layout->value;
    n.stemUp = layout->stemUp;
    n.hasStem = HasStem(e, n.value);
    if (n.hasStem) n.stemEnd = StemEndFor(dc, *layout);
    n.headHalf = dc.widths.noteheadHalfWidth[n.place.size][dc.cueIndex()];
    n.extent = NoteExtent(dc, *layout);
    const auto word = e.noteWord();
    const unsigned kind = word.accentType();
    if (word.staccato() && n.value > 1 && kind >= 1) {
        n.articulation = kind;
        const bool atStem = AtStemEndKind(kind) != word.staccatoOtherSide();
        n.articulationUp = atStem ? n.stemUp : !n.stemUp;
    }
    return n;
}

// The notes from one end to the other, both included; rests and signs do not count.
std::vector<CurveNote> NotesFromTo(DrawingContext& dc, const StaffRecord& staff, int from, int to) {
    std::vector<CurveNote> notes;
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) {
        if (auto n = MakeCurveNote(dc, staff, i)) notes.push_back(*n);
    }
    return notes;
}

bool HasArticulationOn(const CurveNote& n, bool above) { return n.articulation != 0 && n.articulationUp == above; }

// The height a curve on one side must clear at a note: its head, or the end of its stem when the stem is on that
// side, and further out for an articulation there.
int SidePoint(const DrawingContext& dc, const CurveNote& n, bool above, bool withStem) {
    const StaffMetrics& m = dc.metrics;
    const int half = m.halfSpace[n.place.size];
    int p = withStem && n.hasStem && n.stemUp == above ? n.stemEnd : n.y;
    if (HasArticulationOn(n, above)) {
        const int r = 2 * half;
        const bool inside = n.y <= n.place.reference - 10 * half && n.y >= n.place.reference - 14 * half;
        const int out = r + (inside ? half : 0) + (AtStemEndKind(n.articulation) ? r / 2 : 0);
        p += above ? out : -out;
    }
    return p;
}

// The end note's preferred side, overruled with automatic stems: opposite two stems that agree, opposite the other
// note's stem when one of them is a whole note or longer.
bool CurveSide(const CurveNote& a, const CurveNote& b) {
    const bool preferred = b.e->w0().curveAbove();
    if (!b.e->noteWord().stemAutomatic()) return preferred;
    const bool aLong = a.value <= 2, bLong = b.value <= 2;
    if (!aLong && !bLong) return a.stemUp == b.stemUp ? !a.stemUp : preferred;
    if (bLong) return !a.stemUp;
    return !b.stemUp;
}

// A slur from a to b over `notes` (a and b included).
void DrawSlurBetween(DrawingContext& dc, const CurveNote& a, const CurveNote& b, const std::vector<CurveNote>& notes,
                     bool above) {
    const StaffMetrics& m = dc.metrics;
    const int size = a.place.size;
    const int half = m.halfSpace[size];
    const int sign = above ? 1 : -1;
    const int c = sign * (m.staffSpace[size] + m.eighthSpace[size]);
    const int r = 2 * half;
    const int quarter = static_cast<int>(std::lround(m.quarterSpace[size]));

    ArcCurve curve;
    curve.above = above;
    curve.style = static_cast<int>(b.e->w0().curveStyle());
    curve.x1 = a.x;
    curve.x2 = b.x;
    curve.y1 = SidePoint(dc, a, above, true) + c;
    curve.y2 = SidePoint(dc, b, above, true) + c;
    const int span = b.x - a.x;
    const bool isShort = span <= m.stepUnit6;
    const bool veryShort = span < 4 * m.stepUnit;
    if (isShort) {
        curve.x1 -= a.headHalf;
        curve.x2 += b.headHalf;
    }
    const int count = static_cast<int>(notes.size());
    if (count <= 2) {
        // Between neighbours an articulation on the curve's side is not cleared but enclosed: the end goes in.
        const auto inwards = [&](const CurveNote& n, int& y, int& x, int towardsOther) {
            if (!HasArticulationOn(n, above)) return;
            y -= sign * (AtStemEndKind(n.articulation) ? 3 * r / 2 : r);
            x += towardsOther * (isShort ? n.headHalf * 3 / 2 : n.headHalf);
        };
        inwards(a, curve.y1, curve.x1, 1);
        inwards(b, curve.y2, curve.x2, -1);
        if (veryShort) {
            curve.y1 += sign * quarter;
            curve.y2 += sign * quarter;
        }
    } else {
        const auto extreme = std::max_element(notes.begin(), notes.end(), [&](const CurveNote& p, const CurveNote& q) {
            const int pp = SidePoint(dc, p, above, true), qq = SidePoint(dc, q, above, true);
            return above ? pp < qq : pp > qq;
        });
        const int peak = SidePoint(dc, *extreme, above, true) + c;
        if (peak < std::min(curve.y1, curve.y2) || peak > std::max(curve.y1, curve.y2)) {
            curve.peak = peak;
            curve.peakX = extreme->x;
        }
    }
    DrawArcCurve(dc, curve, dc.curves.tieThickness);
}

// A tie runs level between the heads it joins, from a quarter space after `fromX` (the right edge of what the first
// note or chord draws: heads, dots) to a quarter space before `toX` (the left edge of the second: accidentals,
// heads), a quarter space off its note's height on its side. Heads too close for that leave it two step units wide,
// centred between them.
void DrawTieBetween(DrawingContext& dc, const CurveNote& n, int fromX, int toX, bool above, int style) {
    const StaffMetrics& m = dc.metrics;
    const int quarter = static_cast<int>(std::lround(m.quarterSpace[n.place.size]));
    ArcCurve curve;
    curve.above = above;
    curve.style = style;
    curve.x1 = fromX + quarter;
    curve.x2 = toX - quarter;
    if (curve.x2 - curve.x1 < 2 * m.stepUnit) {
        const int middle = (fromX + toX) / 2;
        curve.x1 = middle - m.stepUnit;
        curve.x2 = middle + m.stepUnit;
    }
    curve.y1 = curve.y2 = n.y + (above ? quarter : -quarter);
    DrawArcCurve(dc, curve, dc.curves.tieThickness);
}

std::vector<CurveNote> ChordMembersOf(DrawingContext& dc, const StaffRecord& staff, int index) {
    const ChordRun run = FindChordRun(staff, index);
    std::vector<CurveNote> members = NotesFromTo(dc, staff, run.first, run.last);
    std::stable_sort(members.begin(), members.end(), [](const CurveNote& p, const CurveNote& q) { return p.y < q.y; });
    return members;
}

// The member of a chord a curve on one side leaves from: the outermost on that side.
CurveNote OuterMember(DrawingContext& dc, const StaffRecord& staff, const CurveNote& n, bool above) {
    if (!IsChordMember(*n.e)) return n;
    const std::vector<CurveNote> members = ChordMembersOf(dc, staff, n.index);
    if (members.empty()) return n;
    return above ? members.back() : members.front();
}

// The note (or each member of the chord) at `index`, lowest first.
std::vector<CurveNote> TargetsAt(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (IsChordMember(At(staff, index))) return ChordMembersOf(dc, staff, index);
    if (auto n = MakeCurveNote(dc, staff, index)) return {*n};
    return {};
}

// The horizontal extent of a note or chord: everything its members draw.
HeadSpan ExtentOf(const std::vector<CurveNote>& notes) {
    HeadSpan span = notes.front().extent;
    for (const CurveNote& n : notes) {
        span.left = std::min(span.left, n.extent.left);
        span.right = std::max(span.right, n.extent.right);
    }
    return span;
}

// The side of the tie of member k of `notes` (lowest first) whose tie goes on to `next`: with automatic stems the
// upper members of a chord curve above and the lower ones below, a middle member and a single note away from the
// stem.
bool TieSide(const std::vector<CurveNote>& notes, std::size_t k, const CurveNote& next) {
    const CurveNote& n = notes[k];
    const bool side = CurveSide(n, next);
    const std::size_t count = notes.size();
    if (count < 2 || !next.e->noteWord().stemAutomatic()) return side;
    if (2 * k + 1 < count) return false;
    if (2 * k + 1 > count) return true;
    return side;
}

// Whether notes stand between the runs of `from` and `to`: a curve over them is a slur, even between equal pitches.
bool NotesBetween(const StaffRecord& staff, int from, int to) {
    const int after = IsChordMember(At(staff, from)) ? FindChordRun(staff, from).last : from;
    const int before = IsChordMember(At(staff, to)) ? FindChordRun(staff, to).first : to;
    for (int i = after + 1; i < before; ++i) {
        if (At(staff, i).isNote()) return true;
    }
    return false;
}

// A curve between a note and the edge of the line is a tie of each of its members: to the line's end after the
// note, from six step units before it when it comes in from the line before.
void DrawTiesToEdge(DrawingContext& dc, const std::vector<CurveNote>& notes, int edgeX, bool edgeFirst) {
    if (notes.empty()) return;
    const HeadSpan span = ExtentOf(notes);
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const CurveNote& n = notes[k];
        const bool above = TieSide(notes, k, n);
        const int style = static_cast<int>(n.e->w0().curveStyle());
        if (edgeFirst) DrawTieBetween(dc, n, edgeX, span.left, above, style);
        else DrawTieBetween(dc, n, span.right, edgeX, above, style);
    }
}

// The notes of the run holding `index` (the note alone when it is not a chord member).
std::vector<int> RunIndices(const StaffRecord& staff, int index) {
    if (!IsChordMember(At(staff, index))) return {index};
    const ChordRun run = FindChordRun(staff, index);
    std::vector<int> all;
    for (int i = run.first; i <= run.last; ++i) all.push_back(i);
    return all;
}

}  // namespace

void DrawTieTo(DrawingContext& dc, const StaffRecord& staff, int from, int to) {
    if (dc.canvas == nullptr || !ValidNote(staff, from) || !ValidNote(staff, to)) return;
    const std::vector<CurveNote> first = TargetsAt(dc, staff, from);
    const std::vector<CurveNote> second = TargetsAt(dc, staff, to);
    if (first.empty() || second.empty()) return;
    // Each note of the first that the second continues at its pitch is tied to it, whichever member carries the
    // chord's tie marks.
    if (!NotesBetween(staff, from, to)) {
        const HeadSpan left = ExtentOf(first), right = ExtentOf(second);
        const int style = static_cast<int>(At(staff, to).w0().curveStyle());
        bool tied = false;
        for (std::size_t k = 0; k < first.size(); ++k) {
            const CurveNote& a = first[k];
            const auto same = [&a](const CurveNote& b) { return b.y == a.y && b.place.index == a.place.index; };
            const auto b = std::find_if(second.begin(), second.end(), same);
            if (b == second.end()) continue;
            DrawTieBetween(dc, a, left.right, right.left, TieSide(first, k, *b), style);
            tied = true;
        }
        if (tied) return;
    }
    const auto a = MakeCurveNote(dc, staff, from);
    const auto b = MakeCurveNote(dc, staff, to);
    if (!a || !b) return;
    const bool above = CurveSide(*a, *b);
    const CurveNote start = OuterMember(dc, staff, *a, above);
    const CurveNote end = OuterMember(dc, staff, *b, above);
    DrawSlurBetween(dc, start, end, NotesFromTo(dc, staff, from, to), above);
}

void DrawTieToLineEnd(DrawingContext& dc, const StaffRecord& staff, int from, int lineEndX) {
    if (dc.canvas == nullptr || !ValidNote(staff, from)) return;
    const std::vector<CurveNote> notes = TargetsAt(dc, staff, from);
    if (notes.empty()) return;
    DrawTiesToEdge(dc, notes, std::max(lineEndX, ExtentOf(notes).right + dc.metrics.stepUnit6), false);
}

void DrawNoteCurves(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (!ValidNote(staff, index)) return;
    const std::vector<int> run = RunIndices(staff, index);
    bool ends = false, starts = false;
    for (int i : run) {
        const auto w = At(staff, i).w0();
        ends = ends || (w.tiedToNext() && w.tieEnds());
        starts = starts || (w.tiedToNext() && w.tieStarts());
    }
    const std::optional<PendingCurve> pending = dc.pendingCurve;
    const bool onThisStaff = pending && pending->staff == &staff && ValidNote(staff, pending->index);
    const bool sameNote = onThisStaff && std::find(run.begin(), run.end(), pending->index) != run.end();
    if (ends && !sameNote) {
        if (onThisStaff) {
            DrawTieTo(dc, staff, pending->index, index);
        } else if (dc.canvas != nullptr) {
            const std::vector<CurveNote> notes = TargetsAt(dc, staff, index);
            if (!notes.empty()) DrawTiesToEdge(dc, notes, notes.front().x - dc.metrics.stepUnit6, true);
        }
    }
    if (ends || sameNote) dc.pendingCurve.reset();
    if (starts) dc.pendingCurve = PendingCurve{&staff, index};
}

void FinishStaffCurves(DrawingContext& dc, const StaffRecord& staff, int lineEndX) {
    if (dc.pendingCurve && dc.pendingCurve->staff == &staff)
        DrawTieToLineEnd(dc, staff, dc.pendingCurve->index, lineEndX);
    dc.pendingCurve.reset();
}

}  // namespace notavera
