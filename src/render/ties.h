// Ties and slurs between the notes of a staff: which notes they join, on which side they go, where their ends and
// peak lie, and chord ties drawn member by member. The curve itself is drawn by DrawArcCurve.
#pragma once

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// After note `index` of the staff (a single note or any member of a chord) is drawn: a note whose curve flags end a
// tie or slur draws it from the pending start (or, with none on this staff, from six step units before it), and a
// note whose flags start one becomes the pending start. A note met again while it is the pending start draws nothing.
void DrawNoteCurves(DrawingContext& dc, const StaffRecord& staff, int index);

// At the end of a staff's elements: a tie or slur still waiting for its end runs to the end of the line, at least
// six step units long. The pending start is cleared either way.
void FinishStaffCurves(DrawingContext& dc, const StaffRecord& staff, int lineEndX);

// The curve from note `from` to note `to` of the staff (either may be any member of a chord).
//  - Ties: when no note stands between them, each note of the first that the second continues at its pitch is tied
//    to it, level, from a quarter space after everything the first draws (heads, dots) to a quarter space before
//    everything the second draws (accidentals, heads), a quarter space off the note's height on the tie's side.
//    The side: with automatic stems the upper members of a chord above and the lower ones below; a middle member or
//    a single note opposite the stems; otherwise the end note's preferred side.
//  - Slurs (no pitch continued, or notes between): from the outermost members on the curve's side; the side is the
//    end note's preferred one, with automatic stems opposite two stems that agree or opposite the other note's stem
//    when one of them is a whole note or longer; the ends a staff space and an eighth beyond the notes (beyond the
//    stem's end when the stem is on the curve's side, further out for an articulation there); short slurs (at most
//    six step units) reach out over both heads; a slur over more than two notes clears the most extreme of them.
void DrawTieTo(DrawingContext& dc, const StaffRecord& staff, int from, int to);

// Ties from note `from` (each member of a chord) to the end of the line at lineEndX, at least six step units long
// (a curve continued on the next line).
void DrawTieToLineEnd(DrawingContext& dc, const StaffRecord& staff, int from, int lineEndX);

}  // namespace notavera
