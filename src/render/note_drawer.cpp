// Drawing one note from its layout with the primitives and the note marks.
#include "render/note_drawer.h"

#include <algorithm>
#include <cmath>

#include "render/articulations.h"
#include "render/note_marks.h"
#include "render/primitives.h"

namespace notavera {
namespace {

int BreveHalfWidth(const DrawingContext& dc, const StaffPlace& place) {
    return CueLength(dc, dc.widths.breveHalfWidth[place.size], dc.draw.isCueSize);
}

int LedgerHalfLength(const DrawingContext& dc, const NoteLayout& n) {
    if (n.value <= 2) return CueLength(dc, dc.widths.wholeLedgerHalfLength[n.place.size], dc.draw.isCueSize);
    return dc.widths.ledgerHalfLength[n.place.size][dc.cueIndex()];
}

// Breves and longas are drawn with strokes: two bands closed by two side strokes, or one filled block with the value
// shift. A longa's right stroke goes on as its tail.
void DrawBreveHead(DrawingContext& dc, const NoteLayout& n, int centre) {
    const StaffMetrics& m = dc.metrics;
    const int half = m.halfSpace[n.place.size];
    const int quarter = static_cast<int>(m.quarterSpace[n.place.size]);
    const int w = BreveHalfWidth(dc, n.place);
    const Colour colour = dc.draw.drawColour;
    if (n.element->noteWord().bit(note_bits::ValueShift)) {
        DrawBand(dc, centre - w, n.y - half, centre + w, n.y - half, 2 * half, colour);
        return;
    }
    const int t = std::max(dc.thickness.beam / 2, 2);
    DrawBand(dc, centre - w, n.y + half - t, centre + w, n.y + half - t, t, colour);
    DrawBand(dc, centre - w, n.y - half, centre + w, n.y - half, t, colour);
    const int low = n.y - half - quarter, high = n.y + half + quarter;
    DrawVLine(dc, low, high, centre - w, dc.thickness.stem);
    if (n.value == 0) {
        const int tail = StemLength(dc, n.place, *n.element, n.value);
        DrawVLine(dc, n.stemUp ? low : n.y - tail, n.stemUp ? n.y + tail : high, centre + w, dc.thickness.stem);
    } else {
        DrawVLine(dc, low, high, centre + w, dc.thickness.stem);
    }
}

void DrawNoteAccidental(DrawingContext& dc, const NoteLayout& n) {
    if (const auto x = AccidentalX(dc, n)) DrawAccidental(dc, *x, n.y, static_cast<int>(n.element->noteWord().accidental()));
}

void DrawNoteDots(DrawingContext& dc, const NoteLayout& n) {
    const auto x = DotsX(dc, n);
    if (!x) return;
    const int y = n.dotsY ? *n.dotsY : DotHeight(dc, n.place, n.y);
    DrawDots(dc, n.place, *x, y, static_cast<int>(n.element->noteWord().dots()));
}

bool Cue(const NoteLayout& n) { return n.element->w0().cueSize(); }

}  // namespace

std::optional<int> AccidentalX(const DrawingContext& dc, const NoteLayout& n) {
    const auto note = n.element->noteWord();
    if (note.accidental() == Accidental::None || note.hiddenAccidental()) return std::nullopt;
    if (n.accidentalX) return n.accidentalX;
    const int size = n.place.size;
    const bool cue = Cue(n);
    // A head moved to the left of its column takes its accidental with it.
    const int head = n.value <= 1 ? n.x - CueLength(dc, dc.widths.breveHalfWidth[size], cue)
                                  : PlaceHeadAt(dc, *n.element, n.value, n.x, size, cue).left;
    return head + std::min(n.headShift, 0) - dc.widths.accidentalWidth[size][cue ? 1 : 0] -
           AccidentalClearance(dc, size, cue);
}

std::optional<int> DotsX(const DrawingContext& dc, const NoteLayout& n) {
    const ElementRecord& e = *n.element;
    if (e.noteWord().dots() == 0 || (e.w0().hiddenDots() && !dc.draw.showHidden)) return std::nullopt;
    if (n.dotsX) return n.dotsX;
    // Dots clear a whole note's wider head, and the flags of an up stem.
    const bool far = n.value <= 2 || (n.value >= 6 && n.stemUp && !n.inBeam);
    return n.x + (far ? 7 : 5) * dc.metrics.stepUnit / 2 + n.headShift;
}

InkBox AccidentalInk(const DrawingContext& dc, int kind, int size, bool cue) {
    const int width = dc.widths.accidentalWidth[size][cue ? 1 : 0];
    const MusicGlyph* g = WrittenGlyph(dc, AccidentalCode(kind));
    InkBox ink;
    if (g != nullptr && g->box.width() > 0) {
        const double space = GlyphSpaceAt(dc, size, cue);
        const auto at = [space](double v) { return static_cast<int>(std::lround(v * space)); };
        ink = {at(g->offset.x + g->box.sw.x), at(g->offset.x + g->box.ne.x), at(g->offset.y + g->box.sw.y),
               at(g->offset.y + g->box.ne.y)};
    } else {
        const int reach = 3 * dc.metrics.halfSpace[size];
        ink = {0, width, -reach, reach};
    }
    // The second flat of a double flat is written one flat further left.
    if (kind == 5) ink.left -= GlyphAdvanceAt(dc, AccidentalCode(kind), size, cue);
    return ink;
}

HeadSpan HeadExtent(const DrawingContext& dc, const NoteLayout& n) {
    const int size = n.place.size;
    const bool cue = Cue(n);
    if (n.value <= 1) {
        const int centre = n.x + n.headShift, w = CueLength(dc, dc.widths.breveHalfWidth[size], cue);
        const int t = dc.thickness.stem;
        return {centre - w - t / 2, centre + w - t / 2 + t};
    }
    const NoteHead head = PlaceHeadAt(dc, *n.element, n.value, n.x, size, cue);
    return {head.left + n.headShift, head.left + n.headShift + head.width};
}

HeadSpan NoteExtent(const DrawingContext& dc, const NoteLayout& n) {
    HeadSpan span = HeadExtent(dc, n);
    const int size = n.place.size;
    const bool cue = Cue(n);
    if (const auto x = AccidentalX(dc, n)) {
        const int kind = static_cast<int>(n.element->noteWord().accidental());
        span.left = std::min(span.left, *x + AccidentalInk(dc, kind, size, cue).left);
    }
    if (const auto x = DotsX(dc, n)) {
        const StaffMetrics& m = dc.metrics;
        const int radius = std::max(static_cast<int>(m.quarterSpace[size] * 4 / 5), 2);
        const int dots = static_cast<int>(n.element->noteWord().dots());
        span.right = std::max(span.right, *x + (dots - 1) * std::max(m.stepUnit, 6) + radius);
    }
    return span;
}

int SecondShift(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value) {
    const bool cue = e.w0().cueSize();
    // A breve's side strokes stand outside its bands: the two heads keep a stroke's width between their bands.
    if (value <= 1) return 2 * CueLength(dc, dc.widths.breveHalfWidth[place.size], cue) + dc.thickness.stem;
    return PlaceHeadAt(dc, e, value, 0, place.size, cue).width;
}

NoteLayout SingleNoteLayout(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e) {
    NoteLayout n;
    n.element = &e;
    n.place = place;
    n.value = DrawnNoteValue(e);
    n.x = e.x + e.shift;
    n.y = PitchHeight(dc, place, e);
    n.stemUp = SingleStemUp(dc, place, e, n.y);
    n.inBeam = e.w0().inBeam();
    if (e.noteWord().bit(note_bits::OtherSide)) n.headShift = (n.stemUp ? 1 : -1) * SecondShift(dc, place, e, n.value);
    return n;
}

NoteHead ColumnHead(const DrawingContext& dc, const NoteLayout& n) { return PlaceHead(dc, *n.element, n.value, n.x); }

void DrawNoteHeadAndMarks(DrawingContext& dc, const NoteLayout& n) {
    const int centre = n.x + n.headShift;
    DrawLedgerLines(dc, n.place, n.y, centre, LedgerHalfLength(dc, n));
    if (n.value <= 1) {
        DrawBreveHead(dc, n, centre);
    } else {
        const NoteHead head = ColumnHead(dc, n);
        PutGlyph(dc, head.left + n.headShift, n.y, head.code);
    }
    DrawNoteAccidental(dc, n);
    DrawNoteDots(dc, n);
}

bool DrawsOwnStem(const NoteLayout& n) { return HasStem(*n.element, n.value) && !(n.inBeam && n.value >= 5); }

Stem NoteStem(const DrawingContext& dc, const NoteLayout& tip, const NoteLayout& root) {
    return PlaceStem(dc, tip.place, *tip.element, tip.value, ColumnHead(dc, tip), tip.y, tip.stemUp, root.y,
                     ColumnHead(dc, root).code);
}

void DrawStemAndFlags(DrawingContext& dc, const NoteLayout& tip, const Stem& stem) {
    DrawVLine(dc, stem.from, stem.to, stem.x, dc.thickness.stem);
    for (int k = 0; k < FlagGlyphCount(dc, tip.value); ++k) {
        const FlagMark flag = PlaceFlag(dc, tip.place, stem, tip.value, k);
        PutGlyph(dc, flag.x, flag.y, flag.code);
    }
}

void DrawNoteArticulation(DrawingContext& dc, const ElementRecord& owner, const NoteLayout& head, const Stem& stem) {
    if (auto mark = PlaceArticulation(dc, head.place, owner, head.value, ColumnHead(dc, head), head.y, stem))
        PutGlyph(dc, mark->x, mark->y, mark->code);
}

void DrawSingleNote(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e,
                    std::optional<bool> groupStemUp) {
    NoteLayout n = SingleNoteLayout(dc, place, e);
    if (groupStemUp) n.stemUp = *groupStemUp;
    DrawNoteHeadAndMarks(dc, n);
    const Stem stem = NoteStem(dc, n, n);
    if (DrawsOwnStem(n)) DrawStemAndFlags(dc, n, stem);
    DrawNoteArticulation(dc, e, n, stem);
}

}  // namespace notavera
