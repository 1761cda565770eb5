// The names and values MusicXML gives to what a score holds, in both
// directions: note types of duration codes, clef signs of clef numbers,
// accidentals, bar styles, octave shifts, articulations, note heads, dynamics
// and the place each text category takes. The writer and the reader share them,
// so that what one writes the other reads.
#pragma once

#include <optional>
#include <string_view>

#include "score/records.h"
#include "score/text_records.h"

namespace notavera {

// Durations are counted in 256ths of a whole note, so one division is a 256th
// before tuplets: 64 per quarter. A writer multiplies this by what its tuplets
// need.
inline constexpr int musicXmlDivisionsPerQuarter = 64;

// "long", "breve", "whole", "half", "quarter", "eighth", "16th" … "256th" for
// duration codes 0–10; empty beyond.
std::string_view NoteTypeName(unsigned durationCode);
// The duration code of a note type name; nothing for a name the score cannot
// hold ("maxima", "512th"…).
std::optional<unsigned> DurationCodeOfNoteType(std::string_view name);

struct MusicXmlClef {
  std::string_view sign; // "G", "F", "C" or "percussion"
  int line = 0;          // 0 where the sign has none (percussion)
  int octaveChange = 0;  // -1 for the G octave clef, which sounds an octave
                         // below the treble clef
  friend bool operator==(const MusicXmlClef &, const MusicXmlClef &) = default;
};
// The clef of clef numbers 1–12; nothing outside them.
std::optional<MusicXmlClef> MusicXmlClefOf(int clefNumber);
// The clef number of a MusicXML clef: the exact one when the score has it, else
// the number of the same sign on its usual line (G 2, F 4, C 3); 0 for a sign
// the score has no clef for ("TAB", "none", "jianpu").
int ClefNumberOf(std::string_view sign, int line, int octaveChange);

// "sharp", "flat", "natural", "double-sharp", "flat-flat", "quarter-sharp",
// "quarter-flat"; empty for none.
std::string_view AccidentalName(Accidental a);
// Nothing for a name the score has no accidental for ("sharp-sharp" reads as a
// double sharp).
std::optional<Accidental> AccidentalOfName(std::string_view name);
// The pitch alteration in semitones an accidental gives its note (quarter tones
// are halves); 0 for none.
double AccidentalAlter(Accidental a);

// The fifths of a key signature: sharps count up, flats down.
int KeyFifths(KeyKind kind, unsigned count);

// What a bar character writes at the end of its measure: the bar style, whether
// a repeat goes back from here, and whether a repeat starts here (the start of
// the next measure). A bar line of code '|' writes no barline element.
struct MusicXmlBar {
  std::string_view style; // "regular", "light-light", "light-heavy",
                          // "heavy-light", "heavy-heavy"
  bool repeatBackward = false;
  bool repeatForward = false;
};
// For the bar characters '|', 'E', 'R', 'F', 'O', 'D', 'I'; nothing for other
// codes (braces and brackets).
std::optional<MusicXmlBar> MusicXmlBarOf(int barCode);
// The bar character of a barline's style and repeats (a repeat decides over the
// style).
int BarCodeOf(std::string_view style, bool repeatBackward, bool repeatForward);

// An octave line of a note's octave shift 1–4: 8va and 15ma lines are written
// "down" (the notes are shown lower than they sound), 8vb and 15mb "up";
// `octaves` is how many octaves the sounding pitch lies above the written one.
struct MusicXmlOctaveShift {
  std::string_view type; // "down" or "up"
  int size = 8;          // 8 or 15
  int octaves = 0;
};
std::optional<MusicXmlOctaveShift> MusicXmlOctaveShiftOf(unsigned octaveShift);
// The note's octave shift of an octave line's type and size; 0 for anything
// else.
unsigned OctaveShiftOf(std::string_view type, int size);

// The articulation element of a note's staccato kind 0–7: "staccato", "accent",
// "staccatissimo", "strong-accent".
std::string_view ArticulationName(unsigned accentType);
// The staccato kind of an articulation element, its mark at the head; nothing
// for one the score has no kind for.
std::optional<unsigned> AccentTypeOf(std::string_view articulation);

// The notehead element's value for head shapes 0–7; empty where the head is an
// ordinary one.
std::string_view NoteheadName(unsigned headShape);
// The head shape of a notehead value; 0 (normal) for the ones the score does
// not draw.
unsigned HeadShapeOf(std::string_view notehead, bool filled);

// Whether a dynamic text (written with the music font's letters) is one of
// MusicXML's own dynamics elements ("p", "mf", "sfz" …); others are written as
// other-dynamics.
bool IsMusicXmlDynamic(std::string_view letters);

// Where a text of a category goes.
enum class MusicXmlTextPlace {
  Dynamics, // <direction><dynamics>
  Lyric,    // <note><lyric>
  PartName, // the part's name in the part list
  Words,    // <direction><words>
  Tempo,    // <direction><words> with a sound tempo when it names one
  Credit,   // <credit> on the page
};
MusicXmlTextPlace MusicXmlTextPlaceOf(TextCategory category, unsigned type);
// The credit-type of a "DIVERS" text: "title" for "Titre 1", "subtitle" for
// "Titre 2" and "Titre 3", "composer" for "Divers 1" (where the imports put the
// composer); empty for the other types.
std::string_view CreditTypeOf(unsigned miscellaneousType);
// The "DIVERS" type a credit-type comes back as; 0 ("Titre 1") for an unnamed
// one.
unsigned MiscellaneousTypeOf(std::string_view creditType);

} // namespace notavera
