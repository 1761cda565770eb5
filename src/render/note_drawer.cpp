// Drawing one note from its layout with the primitives and the note marks.
#include "render/note_drawer.h"

#include <algorithm>

#include "render/articulations.h"
#include "render/note_marks.h"
#include "render/primitives.h"

namespace notavera {
namespace {

int HeadHalfWidth(const DrawingContext& dc) { return dc.widths.noteheadHalfWidth[dc.sizeIndex()][dc.cueIndex()]; }

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

int HeadLeft(const DrawingContext& dc, const NoteLayout& n) {
    if (n.value <= 1) return n.x - BreveHalfWidth(dc, n.place);
    return ColumnHead(dc, n).left;
}

void DrawNoteAccidental(DrawingContext& dc, const NoteLayout& n) {
    const auto note = n.element->noteWord();
    const int kind = static_cast<int>(note.accidental());
    if (kind == 0 || note.hiddenAccidental()) return;
    int x = 0;
    if (n.accidentalX) {
        x = *n.accidentalX;
    } else {
        // A head moved to the left of its column takes its accidental with it.
        const int left = HeadLeft(dc, n) + std::min(n.headShift, 0);
        const int size = n.place.size;
        x = left - dc.widths.accidentalWidth[size][dc.cueIndex()] - AccidentalClearance(dc, size, dc.draw.isCueSize);
    }
    DrawAccidental(dc, x, n.y, kind);
}

void DrawNoteDots(DrawingContext& dc, const NoteLayout& n) {
    const ElementRecord& e = *n.element;
    const int count = static_cast<int>(e.noteWord().dots());
    if (count == 0 || (e.w0().hiddenDots() && !dc.draw.showHidden)) return;
    int x = 0;
    if (n.dotsX) {
        x = *n.dotsX;
    } else {
        // Dots clear a whole note's wider head, and the flags of an up stem.
        const bool far = n.value <= 2 || (n.value >= 6 && n.stemUp && !n.inBeam);
        x = n.x + (far ? 7 : 5) * dc.metrics.stepUnit / 2 + n.headShift;
    }
    const int y = n.dotsY ? *n.dotsY : DotHeight(dc, n.place, n.y);
    DrawDots(dc, n.place, x, y, count);
}

}  // namespace

NoteLayout SingleNoteLayout(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e) {
    NoteLayout n;
    n.element = &e;
    n.place = place;
    n.value = DrawnNoteValue(e);
    n.x = e.x + e.shift;
    n.y = PitchHeight(dc, place, e);
    n.stemUp = SingleStemUp(dc, place, e, n.y);
    n.inBeam = e.w0().inBeam();
    if (e.noteWord().bit(note_bits::OtherSide)) n.headShift = (n.stemUp ? 2 : -2) * HeadHalfWidth(dc);
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
