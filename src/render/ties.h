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

// The curve from note `from` to note `to` of the staff; both chords: each member of the first to the member of the
// second of the same rank from the lowest (or, when the chords differ in size, of the same pitch).
//  - Side: the end note's preferred side; with automatic stems opposite the stems when both notes have stems that
//    agree, opposite the other note's stem when one of them is a whole note or longer. In a chord tie with automatic
//    stems the upper members go above and the lower ones below.
//  - Ends: a staff space and an eighth beyond each note (half a space for chord ties), beyond the stem's end when
//    the stem is on the curve's side, further out for an articulation there. Short curves (at most six step units)
//    reach out over both heads.
//  - A slur over more than two notes clears the most extreme of them; a tie between notes with articulations or
//    longer than short is drawn level, a quarter space nearer the notes than the end note's height.
void DrawTieTo(DrawingContext& dc, const StaffRecord& staff, int from, int to);

// A tie or slur from note `from` to the end of the line at lineEndX (a curve continued on the next line).
void DrawTieToLineEnd(DrawingContext& dc, const StaffRecord& staff, int from, int lineEndX);

}  // namespace notavera
