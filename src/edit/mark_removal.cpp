// Finding the slur, beam group or rhythmic group around the current element, as the drawing finds them, and
// clearing its marks.
#include "edit/mark_removal.h"

#include <optional>
#include <vector>

#include "render/beams.h"
#include "platform/ui_services.h"
#include "render/tuplet_marks.h"
#include "score/score_document.h"

namespace notavera {
namespace {

constexpr unsigned groupStart = 1;
constexpr unsigned groupEnd = 2;

// A tie or slur on a staff: its start and end notes; −1 where it comes from the previous line or goes on to
// the next one.
struct CurveSpan {
    int start = -1;
    int end = -1;
};

const ElementRecord& At(const StaffRecord& staff, int i) { return staff.elements[static_cast<std::size_t>(i)]; }
ElementRecord& At(StaffRecord& staff, int i) { return staff.elements[static_cast<std::size_t>(i)]; }
int Count(const StaffRecord& staff) { return static_cast<int>(staff.elements.size()); }

// The curves of a staff, paired as the drawing pairs them: an end closes the start met last before it.
std::vector<CurveSpan> CurvesOf(const StaffRecord& staff) {
    std::vector<CurveSpan> spans;
    int pending = -1;
    for (int i = 0; i < Count(staff); ++i) {
        const auto w = At(staff, i).w0();
        if (!At(staff, i).isNote() || !w.tiedToNext()) continue;
        if (w.tieEnds()) {
            spans.push_back({pending, i});
            pending = -1;
        }
        if (w.tieStarts()) pending = i;
    }
    if (pending >= 0) spans.push_back({pending, -1});
    return spans;
}

// The curve under element i: the one starting there first, else the one ending there or running over it.
std::optional<CurveSpan> CurveAt(const StaffRecord& staff, int i) {
    const std::vector<CurveSpan> spans = CurvesOf(staff);
    for (const CurveSpan& s : spans)
        if (s.start == i) return s;
    for (const CurveSpan& s : spans) {
        const bool afterStart = s.start <= i;  // −1: from the line's start
        const bool beforeEnd = s.end < 0 || i <= s.end;
        if (afterStart && beforeEnd) return s;
    }
    return std::nullopt;
}

// A note keeps its end-point flag while another curve still starts or ends on it.
void DropEndPoint(ElementRecord& e) {
    if (!e.w0().tieStarts() && !e.w0().tieEnds()) e.w0().setTiedToNext(false);
}

// The rhythmic group around element i: the one closed at or after it whose start lies at or before it, or one
// opened at or before it and still open at the line's end.
std::optional<TupletRange> GroupAt(const StaffRecord& staff, int i) {
    for (int j = i; j < Count(staff); ++j) {
        if (At(staff, j).isSign() || (At(staff, j).w0().groupMark() & groupEnd) == 0) continue;
        const std::optional<TupletRange> r = FindTupletEndingAt(staff, j);
        if (r && r->first <= i) return r;
        break;
    }
    for (int j = i; j >= 0; --j) {
        if (At(staff, j).isSign()) continue;
        const unsigned mark = At(staff, j).w0().groupMark();
        if ((mark & groupStart) != 0) return TupletRange{j, Count(staff) - 1};
        if ((mark & groupEnd) != 0) break;
    }
    return std::nullopt;
}

// The current element when it is a note or rest of the current staff.
std::optional<int> CurrentNoteOrRest(ScoreDocument& doc) {
    const ElementRecord* e = doc.element();
    if (e == nullptr || e->isSign()) return std::nullopt;
    return doc.currentElement;
}

bool Done(ScoreDocument& doc, UiServices& ui, bool changed) {
    if (!changed) {
        ui.beep();
        return false;
    }
    doc.markModified();
    ui.invalidate();
    return true;
}

}  // namespace

bool EraseSlur(ScoreDocument& doc, UiServices& ui) {
    StaffRecord* staff = doc.staff();
    const std::optional<int> i = CurrentNoteOrRest(doc);
    const std::optional<CurveSpan> span = i ? CurveAt(*staff, *i) : std::nullopt;
    if (!span) return Done(doc, ui, false);
    if (span->start >= 0) {
        At(*staff, span->start).w0().setTieStarts(false);
        DropEndPoint(At(*staff, span->start));
    }
    if (span->end >= 0) {
        At(*staff, span->end).w0().setTieEnds(false);
        DropEndPoint(At(*staff, span->end));
    }
    return Done(doc, ui, true);
}

bool EraseBeam(ScoreDocument& doc, UiServices& ui) {
    StaffRecord* staff = doc.staff();
    const std::optional<int> i = CurrentNoteOrRest(doc);
    const std::optional<BeamGroupRange> range = i ? FindBeamGroup(*staff, *i) : std::nullopt;
    if (!range) return Done(doc, ui, false);
    for (int j = range->first; j <= range->last; ++j) {
        ElementRecord& e = At(*staff, j);
        if (e.isSign()) continue;
        e.w0().setInBeam(false);
        e.w0().setOpensBeam(false);
        e.w0().setClosesBeam(false);
    }
    return Done(doc, ui, true);
}

bool EraseGroup(ScoreDocument& doc, UiServices& ui) {
    StaffRecord* staff = doc.staff();
    const std::optional<int> i = CurrentNoteOrRest(doc);
    const std::optional<TupletRange> range = i ? GroupAt(*staff, *i) : std::nullopt;
    if (!range) return Done(doc, ui, false);
    for (int j = range->first; j <= range->last; ++j) {
        ElementRecord& e = At(*staff, j);
        if (e.isSign()) continue;
        e.w0().setGroupMark(0);
        e.w1().setNumerator(1);
        e.w1().setDenominator(1);
    }
    return Done(doc, ui, true);
}

}  // namespace notavera
