// The shape decisions of one note or rest, without drawing: the value it is drawn with, its head glyph and where
// the head goes, the stem's direction, place and length, and where its flags hang. Lengths are page units.
#pragma once

#include <optional>

#include "render/element_placement.h"
#include "render/smufl_metadata.h"

namespace notavera {

// NoteWord bits the drawing reads besides the named fields.
namespace note_bits {
inline constexpr unsigned ValueShift = 5;     // drawn one value shorter (a whole note takes the filled head)
inline constexpr unsigned GatheredFlag = 8;   // carried by a chord's stem member
inline constexpr unsigned OpenHead = 16;      // open head whatever the value
inline constexpr unsigned ChordMember = 18;
inline constexpr unsigned StemMember = 19;    // the chord member that draws the stem and flags
inline constexpr unsigned OtherSide = 20;     // the head sits on the other side of the stem (a second)
inline constexpr unsigned ChordStemUp = 21;
}  // namespace note_bits

// Head shape 7 ("Sans Queue") draws the normal head without a stem.
inline constexpr unsigned NoStemShape = 7;

// The value a note is drawn with: its duration code (at most 10), one shorter with the value shift from the half
// note on.
int DrawnNoteValue(const ElementRecord& e);
// The value a rest is drawn with: the value shift makes rests from the half (from the quarter with the open-head
// flag) one shorter. Multi-bar rests (15) keep their code.
int DrawnRestValue(const ElementRecord& e);

// The head code of a note of drawn value 2 and shorter.
int HeadCode(const ElementRecord& e, int value);

// The music-font glyph that draws `code` on the staff line being drawn (old-notation substitution included); null
// when the font has none.
const MusicGlyph* WrittenGlyph(const DrawingContext& dc, int code);
// Page units per staff space of the glyphs of the current staff size and cue flag.
double GlyphSpace(const DrawingContext& dc);
// The same for staff size `size` (1 small) and the cue flag, whatever element is being drawn.
double GlyphSpaceAt(const DrawingContext& dc, int size, bool cue);
// The advance of `code` in page units at the current staff size and cue flag.
int GlyphAdvance(const DrawingContext& dc, int code);
int GlyphAdvanceAt(const DrawingContext& dc, int code, int size, bool cue);
// An anchor of the glyph that draws `code`, in staff spaces.
std::optional<StaffSpacePoint> GlyphAnchorPoint(const DrawingContext& dc, int code, std::string_view anchor);

// A notehead as written: its code and the x of its left edge.
struct NoteHead {
    int code = 0;
    int left = 0;
    int width = 0;
    int centre() const { return left + width / 2; }
};

// The head of a note of drawn value 2 or shorter whose column is centred on x. Heads are centred on their column;
// for values shorter than a whole the stem-position correction moves the head (see StemPositionShift).
NoteHead PlaceHead(const DrawingContext& dc, const ElementRecord& e, int value, int x);
// The same on a staff of size `size` (1 small), cue-sized or not, whatever element is being drawn.
NoteHead PlaceHeadAt(const DrawingContext& dc, const ElementRecord& e, int value, int x, int size, bool cue);

// A normal-size length as a cue-size element has it when `cue` is set (× cueNum / cueDen).
int CueLength(const DrawingContext& dc, int length, bool cue);

// The gap engravers leave between an accidental and its head, a quarter space (half of it between the columns of a
// chord's accidentals): the font's accidentals have no side bearings of their own.
int AccidentalClearance(const DrawingContext& dc, int size, bool cue);

// How far the stem-position correction moves a head to the right, and an up stem twice as far to the left: the
// stored correction counts from its default, at which the stem meets the head exactly at the font's anchors.
int StemPositionShift(const DrawingContext& dc, int value);

// The direction a note's stem takes on its own: with automatic stems up below the middle line, otherwise the note's
// stem-up flag.
bool SingleStemUp(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int y);
// The same decision before anything is drawn, from the note's pitch under the clef in force on its staff.
bool SingleStemUpOnStaff(const StaffRecord& staff, const ElementRecord& e);
// The same with the clef value in force at the note already known.
bool SingleStemUpUnderClef(const StaffRecord& staff, const ElementRecord& e, int clefValue);

// A note whose own accidental is drawn: it has one, and neither the key nor the bar implies it.
bool HasDrawnAccidental(const ElementRecord& e);

// Whether a note of drawn value `value` is drawn with a stem at all (half notes and shorter, but not "Sans Queue").
bool HasStem(const ElementRecord& e, int value);

// Signed 16-bit word k of a note's blob, 0 when the note has none: word 0 is the manual stem correction (page
// units), word 1 the slope correction of the beam group the note opens (hundredths).
int NoteBlobWord(const ElementRecord& e, int k);

// The length of a stem: 7 half spaces (5 for a cue note), a flag step more for each flag beyond the first, and
// the manual correction a note's blob carries.
int StemLength(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value);

struct Stem {
    int x = 0;     // centre of the stroke
    int from = 0;  // where it leaves the root head
    int to = 0;    // its free end
    bool up = true;
};

// The stem of a note at height y whose column head is `head`, starting from the root head (`rootY`, `rootCode`;
// the note's own for a single note). With automatic stems an end short of the middle line is taken to it.
Stem PlaceStem(const DrawingContext& dc, const StaffPlace& place, const ElementRecord& e, int value,
               const NoteHead& head, int y, bool up, int rootY, int rootCode);

// The flags of a stem of drawn value `value`, written with their attaching corner on the stem's outer corner. On a
// modern line one glyph carries all of the value's flags, at the stem's end. An old-notation line writes its
// straight eighth flag once per flag, glyph k (0 the outermost) a flag step nearer the head than the one before.
struct FlagMark {
    int code = 0;
    int x = 0;
    int y = 0;
};
int FlagGlyphCount(const DrawingContext& dc, int value);
FlagMark PlaceFlag(const DrawingContext& dc, const StaffPlace& place, const Stem& stem, int value, int k);
// The number of flags of a drawn value (beams have as many levels).
int FlagCount(int value);

}  // namespace notavera
