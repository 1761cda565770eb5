// The MusicXML vocabulary of the score's values, one table per kind of value,
// read in both directions.
#include "score/musicxml_names.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace notavera {
namespace {

constexpr std::array<std::string_view, 11> noteTypes = {
    "long", "breve", "whole", "half",  "quarter", "eighth",
    "16th", "32nd",  "64th",  "128th", "256th"};

// Clef numbers 1–12 in order.
constexpr std::array<MusicXmlClef, 12> clefs = {{{"G", 2, 0},
                                                 {"G", 1, 0},
                                                 {"F", 4, 0},
                                                 {"F", 3, 0},
                                                 {"C", 1, 0},
                                                 {"C", 2, 0},
                                                 {"C", 3, 0},
                                                 {"C", 4, 0},
                                                 {"G", 2, -1},
                                                 {"F", 5, 0},
                                                 {"C", 5, 0},
                                                 {"percussion", 0, 0}}};

// Accidental kinds 1–7 in order.
constexpr std::array<std::string_view, 7> accidentals = {
    "sharp",     "flat",          "natural",     "double-sharp",
    "flat-flat", "quarter-sharp", "quarter-flat"};
constexpr std::array<double, 7> alters = {1, -1, 0, 2, -2, 0.5, -0.5};

struct BarEntry {
  int code;
  MusicXmlBar bar;
};
constexpr std::array<BarEntry, 7> bars = {
    {{'|', {"regular", false, false}},
     {'E', {"light-heavy", false, false}},
     {'R', {"light-heavy", true, true}},
     {'F', {"light-heavy", true, false}},
     {'O', {"heavy-light", false, true}},
     {'D', {"light-light", false, false}},
     {'I', {"heavy-light", false, false}}}};

// Octave shifts 1–4.
constexpr std::array<MusicXmlOctaveShift, 4> octaveShifts = {
    {{"down", 8, 1}, {"down", 15, 2}, {"up", 8, -1}, {"up", 15, -2}}};

// Staccato kinds 0–7: 0 is played short without a mark of its own, written as
// the plain staccato it sounds like.
constexpr std::array<std::string_view, 8> articulations = {
    "staccato", "staccato",      "accent", "staccatissimo",
    "staccato", "strong-accent", "accent", "staccatissimo"};

// Head shapes 0–7: the free choice and the stemless note keep an ordinary head.
constexpr std::array<std::string_view, 8> noteheads = {
    "", "diamond", "diamond", "x", "cross", "none", "", ""};

constexpr std::array<std::string_view, 26> dynamics = {
    "p",    "pp",    "ppp",    "pppp", "ppppp", "pppppp", "f",   "ff",   "fff",
    "ffff", "fffff", "ffffff", "mp",   "mf",    "sf",     "sfp", "sfpp", "fp",
    "rf",   "rfz",   "sfz",    "sffz", "fz",    "n",      "pf",  "sfzp"};

template <typename Array>
int IndexOf(const Array &names, std::string_view name) {
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1
                           : static_cast<int>(std::distance(names.begin(), it));
}

} // namespace

std::string_view NoteTypeName(unsigned durationCode) {
  return durationCode < noteTypes.size() ? noteTypes[durationCode]
                                         : std::string_view();
}

std::optional<unsigned> DurationCodeOfNoteType(std::string_view name) {
  const int i = IndexOf(noteTypes, name);
  if (i < 0)
    return std::nullopt;
  return static_cast<unsigned>(i);
}

std::optional<MusicXmlClef> MusicXmlClefOf(int clefNumber) {
  if (clefNumber < 1 || clefNumber > static_cast<int>(clefs.size()))
    return std::nullopt;
  return clefs[static_cast<std::size_t>(clefNumber - 1)];
}

int ClefNumberOf(std::string_view sign, int line, int octaveChange) {
  for (std::size_t i = 0; i < clefs.size(); ++i) {
    const MusicXmlClef &c = clefs[i];
    if (c.sign == sign && (c.line == line || sign == "percussion") &&
        c.octaveChange == octaveChange) {
      return static_cast<int>(i) + 1;
    }
  }
  if (sign == "G")
    return octaveChange < 0 ? 9 : 1;
  if (sign == "F")
    return 3;
  if (sign == "C")
    return 7;
  if (sign == "percussion")
    return 12;
  return 0;
}

std::string_view AccidentalName(Accidental a) {
  const auto i = static_cast<unsigned>(a);
  return i >= 1 && i <= accidentals.size() ? accidentals[i - 1]
                                           : std::string_view();
}

std::optional<Accidental> AccidentalOfName(std::string_view name) {
  if (name == "sharp-sharp" || name == "double-sharp")
    return Accidental::DoubleSharp;
  const int i = IndexOf(accidentals, name);
  if (i < 0)
    return std::nullopt;
  return static_cast<Accidental>(i + 1);
}

double AccidentalAlter(Accidental a) {
  const auto i = static_cast<unsigned>(a);
  return i >= 1 && i <= alters.size() ? alters[i - 1] : 0.0;
}

int KeyFifths(KeyKind kind, unsigned count) {
  switch (kind) {
  case KeyKind::Sharps:
    return static_cast<int>(count);
  case KeyKind::Flats:
    return -static_cast<int>(count);
  case KeyKind::None:
    break;
  }
  return 0;
}

std::optional<MusicXmlBar> MusicXmlBarOf(int barCode) {
  for (const BarEntry &e : bars) {
    if (e.code == barCode)
      return e.bar;
  }
  return std::nullopt;
}

int BarCodeOf(std::string_view style, bool repeatBackward, bool repeatForward) {
  if (repeatBackward && repeatForward)
    return 'R';
  if (repeatBackward)
    return 'F';
  if (repeatForward)
    return 'O';
  if (style == "light-heavy" || style == "heavy-heavy")
    return 'E';
  if (style == "light-light")
    return 'D';
  if (style == "heavy-light")
    return 'I';
  return '|';
}

std::optional<MusicXmlOctaveShift> MusicXmlOctaveShiftOf(unsigned octaveShift) {
  if (octaveShift < 1 || octaveShift > octaveShifts.size())
    return std::nullopt;
  return octaveShifts[octaveShift - 1];
}

unsigned OctaveShiftOf(std::string_view type, int size) {
  for (std::size_t i = 0; i < octaveShifts.size(); ++i) {
    if (octaveShifts[i].type == type && octaveShifts[i].size == size)
      return static_cast<unsigned>(i) + 1;
  }
  return 0;
}

std::string_view ArticulationName(unsigned accentType) {
  return accentType < articulations.size() ? articulations[accentType]
                                           : std::string_view();
}

std::optional<unsigned> AccentTypeOf(std::string_view articulation) {
  if (articulation == "staccato")
    return 1u;
  if (articulation == "accent")
    return 2u;
  if (articulation == "staccatissimo" || articulation == "spiccato")
    return 3u;
  if (articulation == "strong-accent")
    return 5u;
  return std::nullopt;
}

std::string_view NoteheadName(unsigned headShape) {
  return headShape < noteheads.size() ? noteheads[headShape]
                                      : std::string_view();
}

unsigned HeadShapeOf(std::string_view notehead, bool filled) {
  if (notehead == "diamond")
    return filled ? 2 : 1;
  if (notehead == "x")
    return 3;
  if (notehead == "cross")
    return 4;
  if (notehead == "none")
    return 5;
  return 0;
}

bool IsMusicXmlDynamic(std::string_view letters) {
  return IndexOf(dynamics, letters) >= 0;
}

MusicXmlTextPlace MusicXmlTextPlaceOf(TextCategory category, unsigned type) {
  switch (category) {
  case TextCategory::Dynamics:
    return MusicXmlTextPlace::Dynamics;
  case TextCategory::Lyrics:
    return MusicXmlTextPlace::Lyric;
  case TextCategory::Instrument:
    return MusicXmlTextPlace::PartName;
  case TextCategory::Tempo:
    return MusicXmlTextPlace::Tempo;
  case TextCategory::Miscellaneous:
    return CreditTypeOf(type).empty() ? MusicXmlTextPlace::Words
                                      : MusicXmlTextPlace::Credit;
  case TextCategory::Marks:
  case TextCategory::SymbolsOrnaments:
    break;
  }
  return MusicXmlTextPlace::Words;
}

std::string_view CreditTypeOf(unsigned miscellaneousType) {
  if (miscellaneousType == FirstTitle)
    return "title";
  if (miscellaneousType == FirstTitle + 1 ||
      miscellaneousType == FirstTitle + 2)
    return "subtitle";
  if (miscellaneousType == FirstMiscellaneous)
    return "composer";
  return {};
}

unsigned MiscellaneousTypeOf(std::string_view creditType) {
  if (creditType == "subtitle")
    return FirstTitle + 1;
  if (creditType == "composer")
    return FirstMiscellaneous;
  return FirstTitle;
}

} // namespace notavera
