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

struct CurvePlan {
    bool above = true;
    bool chordTie = false;
};

// The curve from a to b over `notes` (a and b included).
void DrawCurveBetween(DrawingContext& dc, const CurveNote& a, const CurveNote& b, const std::vector<CurveNote>& notes,
                      CurvePlan plan) {
    const StaffMetrics& m = dc.metrics;
    const int size = a.place.size;
    const int half = m.halfSpace[size];
    const bool above = plan.above;
    const int sign = above ? 1 : -1;
    const int c = sign * (plan.chordTie ? half : m.staffSpace[size] + m.eighthSpace[size]);
    const int r = 2 * half;
    const int quarter = static_cast<int>(std::lround(m.quarterSpace[size]));
    const bool tie = a.y == b.y && a.place.index == b.place.index;
    // A tie between notes with automatic stems keeps to the heads: its stems are on the other side.
    const bool withStems = !(tie && b.e->noteWord().stemAutomatic());

    ArcCurve curve;
    curve.above = above;
    curve.style = static_cast<int>(b.e->w0().curveStyle());
    curve.x1 = a.x;
    curve.x2 = b.x;
    curve.y1 = SidePoint(dc, a, above, withStems) + c;
    curve.y2 = SidePoint(dc, b, above, withStems) + c;
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
    }
    if (!tie && count > 2) {
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
    if (!tie && count <= 2 && veryShort) {
        curve.y1 += sign * quarter;
        curve.y2 += sign * quarter;
    }
    if (tie && !(isShort && a.articulation == 0 && b.articulation == 0)) {
        curve.y2 -= sign * quarter;
        curve.y1 = curve.y2;
    }
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

bool SamePitch(const CurveNote& p, const CurveNote& q) {
    return p.e->noteWord().step() == q.e->noteWord().step() && p.e->w0().octave() == q.e->w0().octave();
}

// Chord ties: member to member, lowest first; with automatic stems the upper members curve above and the lower ones
// below, a middle member away from the stem.
void DrawChordTie(DrawingContext& dc, const StaffRecord& staff, int from, int to) {
    const std::vector<CurveNote> first = ChordMembersOf(dc, staff, from);
    const std::vector<CurveNote> second = ChordMembersOf(dc, staff, to);
    std::vector<std::pair<CurveNote, CurveNote>> pairs;
    if (first.size() == second.size()) {
        for (std::size_t k = 0; k < first.size(); ++k) pairs.emplace_back(first[k], second[k]);
    } else {
        for (const CurveNote& p : first) {
            const auto same = [&](const CurveNote& s) { return SamePitch(p, s); };
            const auto q = std::find_if(second.begin(), second.end(), same);
            if (q != second.end()) pairs.emplace_back(p, *q);
        }
    }
    const int n = static_cast<int>(pairs.size());
    for (int k = 0; k < n; ++k) {
        const auto& [a, b] = pairs[static_cast<std::size_t>(k)];
        bool above = CurveSide(a, b);
        if (b.e->noteWord().stemAutomatic()) {
            if (2 * k + 1 < n) above = false;
            if (2 * k + 1 > n) above = true;
        }
        DrawCurveBetween(dc, a, b, {a, b}, {above, true});
    }
}

// The note (or each member of the chord) at `index`, for curves that come from or go to the edge of the line.
std::vector<CurveNote> TargetsAt(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (IsChordMember(At(staff, index))) return ChordMembersOf(dc, staff, index);
    if (auto n = MakeCurveNote(dc, staff, index)) return {*n};
    return {};
}

// A curve between a note and the edge of the line behaves as a tie to a note of the same height there.
void DrawCurveToEdge(DrawingContext& dc, const CurveNote& n, int edgeX, bool edgeFirst) {
    CurveNote edge = n;
    edge.x = edgeX;
    edge.articulation = 0;
    const CurveNote& a = edgeFirst ? edge : n;
    const CurveNote& b = edgeFirst ? n : edge;
    DrawCurveBetween(dc, a, b, {a, b}, {CurveSide(a, b), false});
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
    if (IsChordMember(At(staff, from)) && IsChordMember(At(staff, to))) {
        DrawChordTie(dc, staff, from, to);
        return;
    }
    const auto a = MakeCurveNote(dc, staff, from);
    const auto b = MakeCurveNote(dc, staff, to);
    if (!a || !b) return;
    const bool above = CurveSide(*a, *b);
    const CurveNote first = OuterMember(dc, staff, *a, above);
    const CurveNote last = OuterMember(dc, staff, *b, above);
    DrawCurveBetween(dc, first, last, NotesFromTo(dc, staff, from, to), {above, false});
}

void DrawTieToLineEnd(DrawingContext& dc, const StaffRecord& staff, int from, int lineEndX) {
    if (dc.canvas == nullptr || !ValidNote(staff, from)) return;
    for (const CurveNote& n : TargetsAt(dc, staff, from))
        DrawCurveToEdge(dc, n, std::max(lineEndX, n.x + dc.metrics.stepUnit6), false);
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
            for (const CurveNote& n : TargetsAt(dc, staff, index))
                DrawCurveToEdge(dc, n, n.x - dc.metrics.stepUnit6, true);
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
