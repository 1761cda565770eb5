// What the text editor adds to the text records: lyrics and their hyphens, the width of a text in the font it
// names, where a lyric starts against its x, and the names the menus and the title bar show.
#pragma once

#include <string>
#include <string_view>

#include "score/font_block.h"
#include "score/text_records.h"

namespace notavera {

inline constexpr unsigned textCategoryCount = 7;
inline constexpr unsigned textTypeCount = 7;

bool IsLyric(const ElementRecord& e);
// A lyric whose characters are "-": the line between two syllables of a word.
bool IsHyphen(const ElementRecord& e);

// The width of the characters in the text's font and size, in page units: the document's face resolved to the
// installed one (the music font for index 0), measured from the font file.
int MeasureTextWidth(const FontBlock& fonts, const TextAttributes& a, std::string_view characters);

// Where a text `width` wide starts when its element stands at x: lyrics are centred on x, start at it or end at
// it; every other text starts at x.
int TextLeftOf(const TextAttributes& a, int x, int width);

// The names the menus, the title bar and the "TypeTexte" dialog show.
std::string_view TextCategoryName(TextCategory c);
std::string TextTypeName(TextCategory c, unsigned type);
std::string_view TextStyleName(TextStyle style);
std::string_view TextOrientationName(TextOrientation orientation);

}  // namespace notavera
