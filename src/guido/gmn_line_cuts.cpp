// Where the lines of an imported piece may end, and the notes and rests that a line end cuts in two.
#include "guido/gmn_line_cuts.h"

#include <algorithm>
#include <climits>

#include "guido/gmn_note_values.h"
#include "score/records.h"

namespace notavera {

GmnPieceSpan GmnPieceSpan::Of(const ElementRecord& e, const GmnRational& start, const GmnRational& end) {
    const auto nw = e.noteWord();
    return GmnPieceSpan{start, end, e.x, e.isRest(), nw.step(), e.w0().octave(), nw.durationCode(), nw.dots()};
}

bool GmnPieceSpan::Is(const ElementRecord& e) const {
    if (e.isSign() || e.x != x || e.isRest() != rest) return false;
    const auto nw = e.noteWord();
    return nw.step() == step && e.w0().octave() == octave && nw.durationCode() == code && nw.dots() == dots;
}

namespace {

bool Inside(const GmnPieceSpan& p, const GmnRational& t) { return p.start.compare(t) < 0 && t.compare(p.end) < 0; }

// A length the score's values write exactly: a part of a cut piece must last what the piece left it.
bool Writable(const GmnRational& length) {
    GmnRational sum;
    for (const GmnWrittenValue& value : GmnWrittenValues(length)) sum = sum + value.length;
    return sum == length;
}

// A line may end at `t` in this sequence: no note or rest there (or only rests, unless `notes` too), or ones whose
// parts the values write exactly.
bool CutsExactly(const GmnSequenceTimes& s, const GmnRational& t, bool notes = true) {
    return std::all_of(s.pieces.begin(), s.pieces.end(), [&](const GmnPieceSpan& p) {
        return !Inside(p, t) || ((notes || p.rest) && Writable(t - p.start) && Writable(p.end - t));
    });
}

// A sequence's bar lines are read in time order.
bool IsBar(const GmnSequenceTimes& s, const GmnRational& t) { return std::binary_search(s.bars.begin(), s.bars.end(), t); }

// The written values of one part of a piece, from `at` to `until`, as copies of its element placed by their time.
void AppendParts(const ElementRecord& e, const GmnPieceSpan& span, const GmnRational& at, const GmnRational& until,
                 int stepUnit, std::vector<ElementRecord>& parts, std::vector<GmnPieceSpan>& spans) {
    GmnRational from = at;
    for (const GmnWrittenValue& value : GmnWrittenValues(until - at)) {
        ElementRecord part = e;
        // A whole note moves x by 64 step units, as the import placed the piece.
        const GmnRational dx = (from - span.start).scaled(64 * stepUnit, 1);
        part.x = span.x + dx.num() / dx.den();
        part.noteWord().setDurationCode(value.code);
        part.noteWord().setDots(value.dots);
        part.w1().setNumerator(value.tupletNum);
        part.w1().setDenominator(value.tupletDen);
        parts.push_back(part);
        spans.push_back(GmnPieceSpan::Of(part, from, from + value.length));
        from = from + value.length;
    }
}

// A part shorter than x can tell (a sliver of a tuplet the line end leaves) stands a unit right of the part before
// it, so that the parts on either side of a line end are told apart by their x.
void SeparateParts(std::vector<ElementRecord>& parts, std::vector<GmnPieceSpan>& spans) {
    const std::size_t first = spans.size() - parts.size();
    for (std::size_t i = 1; i < parts.size(); ++i) {
        parts[i].x = std::max(parts[i].x, parts[i - 1].x + 1);
        spans[first + i].x = parts[i].x;
    }
}

// The parts of a note sound as one: each is tied to the next; the first keeps the tie or beam the note ended, the
// last the one it started.
void TieParts(const ElementRecord& note, std::vector<ElementRecord>& parts) {
    const std::size_t last = parts.size() - 1;
    for (std::size_t i = 0; i <= last; ++i) {
        auto w0 = parts[i].w0();
        w0.setTiedToNext(note.w0().tiedToNext() || last > 0);
        w0.setTieStarts(i < last || note.w0().tieStarts());
        w0.setTieEnds(i > 0 || note.w0().tieEnds());
        w0.setOpensBeam(i == 0 && note.w0().opensBeam());
        w0.setClosesBeam(i == last && note.w0().closesBeam());
    }
}

// Where a line that begins with the element `i` of a staff really begins. Grace notes take no time: those written
// right before the note a line begins with ornament it and go with it.
std::size_t LineStartBefore(const StaffRecord& staff, std::size_t i) {
    while (i > 0 && !staff.elements[i - 1].isSign() && staff.elements[i - 1].w0().cueSize()) --i;
    return i;
}

}  // namespace

std::vector<GmnRational> GmnCutTimes(const std::vector<GmnSequenceTimes>& sequences) {
    std::vector<GmnRational> cuts;
    const GmnSequenceTimes* leader = nullptr;
    for (const GmnSequenceTimes& s : sequences)
        if (!s.bars.empty() && (!leader || s.bars.size() > leader->bars.size())) leader = &s;
    // Without bar lines anywhere, the lines may end where the sequence of the most notes and rests begins one.
    std::vector<GmnRational> candidates;
    if (leader) {
        candidates = leader->bars;
    } else {
        for (const GmnSequenceTimes& s : sequences)
            if (!leader || s.pieces.size() > leader->pieces.size()) leader = &s;
        if (!leader) return cuts;
        for (const GmnPieceSpan& p : leader->pieces)
            if (p.start.isPositive()) candidates.push_back(p.start);
    }
    for (const GmnRational& t : candidates) {
        const bool shared = std::all_of(sequences.begin(), sequences.end(), [&t](const GmnSequenceTimes& s) {
            return !(t.compare(s.end) < 0) || (s.bars.empty() ? CutsExactly(s, t) : IsBar(s, t));
        });
        if (shared && (cuts.empty() || cuts.back().compare(t) < 0)) cuts.push_back(t);
    }
    return cuts;
}

std::vector<GmnRational> GmnTimesWithin(const std::vector<GmnSequenceTimes>& sequences, const GmnRational& from,
                                        const GmnRational& to, bool cuttingNotes) {
    std::vector<GmnRational> times;
    for (const GmnSequenceTimes& s : sequences)
        for (const GmnPieceSpan& p : s.pieces)
            if (from.compare(p.start) < 0 && p.start.compare(to) < 0) times.push_back(p.start);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::erase_if(times, [&](const GmnRational& t) {
        return !std::all_of(sequences.begin(), sequences.end(),
                            [&](const GmnSequenceTimes& s) { return CutsExactly(s, t, cuttingNotes); });
    });
    return times;
}

std::vector<GmnRational> GmnEndsCuttingPieces(const GmnSequenceTimes& times, const std::vector<GmnRational>& ends) {
    std::vector<bool> cuts(ends.size());
    const auto less = [](const GmnRational& a, const GmnRational& b) { return a.compare(b) < 0; };
    for (const GmnPieceSpan& p : times.pieces)
        for (auto it = std::upper_bound(ends.begin(), ends.end(), p.start, less); it != ends.end() && Inside(p, *it);
             ++it)
            cuts[static_cast<std::size_t>(it - ends.begin())] = true;
    std::vector<GmnRational> cutting;
    for (std::size_t k = 0; k < ends.size(); ++k)
        if (cuts[k]) cutting.push_back(ends[k]);
    return cutting;
}

void GmnCutPiecesAt(StaffRecord& staff, GmnSequenceTimes& times, const GmnRational& t, int stepUnit) {
    auto& els = staff.elements;
    std::vector<GmnPieceSpan> kept;
    std::vector<GmnPieceSpan> added;
    for (const GmnPieceSpan& span : times.pieces) {
        const auto it = Inside(span, t) ? std::find_if(els.begin(), els.end(), [&span](const ElementRecord& e) {
                                              return span.Is(e);
                                          })
                                        : els.end();
        if (it == els.end()) {
            kept.push_back(span);
            continue;
        }
        const ElementRecord piece = *it;
        std::vector<ElementRecord> parts;
        AppendParts(piece, span, span.start, t, stepUnit, parts, added);
        AppendParts(piece, span, t, span.end, stepUnit, parts, added);
        SeparateParts(parts, added);
        if (!piece.isRest()) TieParts(piece, parts);
        els.insert(els.erase(it), parts.begin(), parts.end());
    }
    kept.insert(kept.end(), added.begin(), added.end());
    times.pieces = std::move(kept);
    std::stable_sort(els.begin(), els.end(), [](const ElementRecord& a, const ElementRecord& b) { return a.x < b.x; });
}

std::size_t GmnCutIndex(const StaffRecord& staff, const GmnSequenceTimes& times, const GmnRational& t) {
    int x = INT_MAX;
    for (const GmnPieceSpan& p : times.pieces)
        if (!(p.start.compare(t) < 0)) x = std::min(x, p.x);
    std::size_t i = 0;
    while (i < staff.elements.size() && staff.elements[i].x < x) ++i;
    return LineStartBefore(staff, i);
}

std::vector<std::size_t> GmnCutIndices(const StaffRecord& staff, const GmnSequenceTimes& times,
                                       const std::vector<GmnRational>& at) {
    std::vector<const GmnPieceSpan*> byStart;
    byStart.reserve(times.pieces.size());
    for (const GmnPieceSpan& p : times.pieces) byStart.push_back(&p);
    std::stable_sort(byStart.begin(), byStart.end(),
                     [](const GmnPieceSpan* a, const GmnPieceSpan* b) { return a->start.compare(b->start) < 0; });
    // The leftmost x of the pieces from each one on.
    std::vector<int> leftmost(byStart.size() + 1, INT_MAX);
    for (std::size_t k = byStart.size(); k-- > 0;) leftmost[k] = std::min(leftmost[k + 1], byStart[k]->x);
    std::vector<std::size_t> indices;
    indices.reserve(at.size());
    std::size_t i = 0;
    int lastX = INT_MIN;
    for (const GmnRational& t : at) {
        const auto first = std::partition_point(byStart.begin(), byStart.end(),
                                                [&t](const GmnPieceSpan* p) { return p->start.compare(t) < 0; });
        const int x = leftmost[static_cast<std::size_t>(first - byStart.begin())];
        if (x < lastX) i = 0;  // times out of order: the walk starts again
        lastX = x;
        while (i < staff.elements.size() && staff.elements[i].x < x) ++i;
        indices.push_back(LineStartBefore(staff, i));
    }
    return indices;
}

}  // namespace notavera
