// The texts of a GUIDO piece as text signs of the score: which category, font, style and size each text tag
// gives, how the words of \lyrics fall on the notes, and the files' characters in the documents' code page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "guido/gmn_callbacks.h"
#include "score/text_records.h"

namespace notavera {

// Which side of its staff a text goes to until the page's layout places it (see PlaceImportedTexts).
enum class GmnTextSide { Above, Below };

struct GmnText {
    TextAttributes attributes;
    std::string chars;  // in the documents' code page
    GmnTextSide side = GmnTextSide::Above;
};

// The text a tag carries: its first string argument without a name, or the one named "text".
std::optional<std::string> GmnTextArgument(const GmnTagArguments& args);

// The text sign of a tag written on a note: \intens (\i), \tempo, \text (\t), \fingering (\fing). Sizes count in
// `space`, the normal staff space. Nothing for other tags or a tag without text.
std::optional<GmnText> GmnNoteText(std::string_view tag, const GmnTagArguments& args, int space);

// The title lines of \title and \composer, which stand at the head of the first page: `rank` counts the titles
// (or the composer lines) met before this one.
std::optional<GmnText> GmnHeadingText(std::string_view tag, const GmnTagArguments& args, int space, int rank);

// The name of an instrument, at the left of the first system.
GmnText GmnInstrumentText(std::string chars, int space);

// A lyric syllable as a text sign, centred under its note.
GmnText GmnSyllableText(std::string chars, int space);

// The syllables of a \lyrics text, one for each event of its range in order; an empty one leaves its event without
// a syllable. A blank, "-" or "_" moves on to the next event, so that each further one leaves an event empty (a
// melisma); a hyphen stays with the syllable it ends; "~" is a blank within a syllable.
std::vector<std::string> GmnLyricSyllables(std::string_view text);

// A text of the file in the documents' code page: UTF-8 is converted, anything else is taken as Latin-1 already.
std::string GmnTextToAnsi(std::string_view text);

}  // namespace notavera
