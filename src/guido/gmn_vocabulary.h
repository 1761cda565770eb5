// The words the GUIDO reader knows: note names and the tag classes of the reading modes.
#pragma once

#include <optional>
#include <string_view>

namespace notavera {

// What a reading passes on: 0 everything; 2 notes and musical tags; 11 layout tags only; 13 clef and key tags.
enum class GmnMode : int { All = 0, Musical = 2, Layout = 11, ClefKey = 13 };

// The mode of a number, when the number is one of the four modes.
std::optional<GmnMode> GmnModeFromNumber(int number);

// Notes (and chords) are passed on only in the modes that read the music itself.
bool GmnModePassesNotes(GmnMode mode);

// Whether a tag (its name with the backslash) is passed on in the mode.
bool GmnModePassesTag(GmnMode mode, std::string_view name);

inline constexpr int gmnRest = -1;
inline constexpr int gmnEmpty = -2;

// The pitch class of a note name (0–11, gmnRest, gmnEmpty), nothing for a name the notation does not know.
std::optional<int> GmnPitchClass(std::string_view name);

// Names written without a space between them ("gf" for G then F) are read one by one, as GUIDO readers do: the
// length of the first name of such a run of letters. A run that is one name, or that does not fall apart into
// names, is taken whole (and reported when unknown).
std::size_t GmnFirstNoteNameLength(std::string_view letters);

}  // namespace notavera
