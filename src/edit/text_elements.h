// Text elements of a staff: their attributes in the sign word, their characters in the blob, the vertical
// parameter that places their lower edge from the staff, and their width in the font they name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "score/font_block.h"
#include "score/records.h"

namespace notavera {

// The seven categories, in the order of the sign word's field.
enum class TextCategory : unsigned { Dynamics = 0, Lyrics = 1, Instrument = 2, Marks = 3, SymbolOrnament = 4,
                                     Tempo = 5, Misc = 6 };
inline constexpr unsigned textCategoryCount = 7;
inline constexpr unsigned textTypeCount = 7;

// The marks whose font and size differ from the other marks (types counted from 0).
inline constexpr unsigned multiBarRestMark = 0;
inline constexpr unsigned measureNumberMark = 1;
inline constexpr unsigned figureMark = 2;

inline constexpr unsigned smallestTextSize = 2;
inline constexpr unsigned largestTextSize = 250;

// Orientations as stored: 1 horizontal, 2 vertical, 3 backwards.
inline constexpr unsigned horizontalText = 1;
inline constexpr unsigned verticalText = 2;
inline constexpr unsigned backwardsText = 3;

// Justification of lyrics on their x.
inline constexpr unsigned centredText = 0;
inline constexpr unsigned startingText = 1;
inline constexpr unsigned endingText = 2;

struct TextAttributes {
    TextCategory category = TextCategory::Dynamics;
    unsigned type = 0;          // 0..6
    unsigned style = 0;         // 0 upright, 1 italic, 2 bold, 3 bold italic
    unsigned orientation = horizontalText;
    unsigned justification = centredText;
    bool opaque = false;
    unsigned size = 30;         // character height in page units before zoom
    unsigned fontIndex = 1;
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

bool IsText(const ElementRecord& e);
bool IsLyric(const ElementRecord& e);
// A lyric whose characters are "-": the line between two syllables of a word.
bool IsHyphen(const ElementRecord& e);

TextAttributes TextAttributesOf(const ElementRecord& e);
// Rewrites every attribute field of the sign word; the other bits (type 4 among them) stay.
void WriteTextAttributes(ElementRecord& e, const TextAttributes& a);

// The stored characters (code page 1252 bytes, no terminator).
std::string TextCharacters(const ElementRecord& e);
void SetTextCharacters(ElementRecord& e, std::string_view characters);

// A text element at x with its attributes, parameter and characters.
ElementRecord MakeTextElement(int x, int param, const TextAttributes& a, std::string_view characters);

// The parameter holds the lower edge's height over the staff's reference y in tenths of the staff's unit: the
// text keeps its place against its staff however the page is laid out again.
int TextParameter(int lowerEdge, double staffY, int unit);
int TextLowerEdge(int param, double staffY, int unit);

// The width of the characters in the text's font and size, in page units: the document's face resolved to the
// installed one (the music font for index 0), measured from the font file.
int MeasureTextWidth(const FontBlock& fonts, const TextAttributes& a, std::string_view characters);

// Where a text `width` wide starts when its element stands at x: lyrics are centred on x, start at it or end at
// it; every other text starts at x.
int TextLeftOf(const TextAttributes& a, int x, int width);

// The names the menus, the title bar and the "TypeTexte" dialog show.
std::string_view TextCategoryName(TextCategory c);
std::string TextTypeName(TextCategory c, unsigned type);
std::string_view TextStyleName(unsigned style);
std::string_view TextOrientationName(unsigned orientation);

}  // namespace notavera
