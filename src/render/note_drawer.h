// One note as drawn: ledger lines, head (or the strokes of a breve or longa), accidental and dots; its stem with
// the flags; its articulation. Single notes and chord members are both drawn from a NoteLayout.
#pragma once

#include <optional>

#include "render/note_geometry.h"

namespace notavera {

// Where one note goes. Chords fill the optional columns; single notes leave them to the note's own rules.
struct NoteLayout {
    const ElementRecord* element = nullptr;
    StaffPlace place;
    int value = 4;        // the drawn value
    int x = 0;            // the centre of the note's column (the element's x with its shift)
    int y = 0;            // the head's height
    bool stemUp = true;
    bool inBeam = false;  // stems and flags of values from the eighth on are the beam drawer's
    int headShift = 0;    // a head on the other side of the stem: one head width towards the stem's side
    std::optional<int> accidentalX;  // a chord's accidental column
    std::optional<int> dotsX;        // a chord's dot column
    std::optional<int> dotsY;        // a chord member's dot height, kept clear of its neighbours' dots
};

// How far a head on the other side of the stem moves: its own width, so that the two heads of a second sit side by
// side whatever their value (a whole note's head is wider than a half note's, a breve's strokes wider still).
int SecondShift(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value);

// The layout of a note drawn on its own: its height, value and stem direction; a head marked for the other side
// of the stem is moved there.
NoteLayout SingleNoteLayout(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e);

// The head of the note's column (without the shift of a head on the other side).
NoteHead ColumnHead(const DrawingContext& dc, const NoteLayout& n);

// Where the note's accidental is written (its glyph's origin); nullopt when none is drawn. A chord's column, or a
// quarter space clear of the head of a single note.
std::optional<int> AccidentalX(const DrawingContext& dc, const NoteLayout& n);
// The centre of the note's first dot; nullopt when no dot is drawn.
std::optional<int> DotsX(const DrawingContext& dc, const NoteLayout& n);

// The ink of an accidental glyph around the point it is written at, in page units.
struct InkBox {
    int left = 0;
    int right = 0;
    int bottom = 0;
    int top = 0;
};
InkBox AccidentalInk(const DrawingContext& dc, int kind, int size, bool cue);

// A horizontal extent in page units.
struct HeadSpan {
    int left = 0;
    int right = 0;
};
// The head as drawn, on its side of the stem (a breve or longa with its side strokes).
HeadSpan HeadExtent(const DrawingContext& dc, const NoteLayout& n);
// The head with the accidental before it and the dots after it: what a tie must run clear of.
HeadSpan NoteExtent(const DrawingContext& dc, const NoteLayout& n);

// Ledger lines, head, accidental and dots.
void DrawNoteHeadAndMarks(DrawingContext& dc, const NoteLayout& n);

// Whether the note draws a stem and flags itself: a value with a stem, outside a beam group from the eighth on.
bool DrawsOwnStem(const NoteLayout& n);

// The stem of `tip` (the note that ends it) starting from `root` (the head it leaves; the note itself when alone).
Stem NoteStem(const DrawingContext& dc, const NoteLayout& tip, const NoteLayout& root);

// The stem and the flags of a stem placed by NoteStem.
void DrawStemAndFlags(DrawingContext& dc, const NoteLayout& tip, const Stem& stem);

// The articulation of `owner` (whose flags and kind decide it), at `head`'s side or at the stem's end.
void DrawNoteArticulation(DrawingContext& dc, const ElementRecord& owner, const NoteLayout& head, const Stem& stem);

// A note drawn on its own, with everything that belongs to it; a note of a beam group takes its group's stem
// direction when given, so that its marks go on the side the beam leaves free.
void DrawSingleNote(DrawingContext& dc, const StaffPlace& place, const ElementRecord& e,
                    std::optional<bool> groupStemUp = std::nullopt);

}  // namespace notavera
