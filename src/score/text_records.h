// What a text sign holds: its category, type, style, orientation, justification, background, size and font in
// the sign word, its characters in the blob, and the rule that turns its stored parameter into its lower edge.
#pragma once

#include <string>
#include <string_view>

#include "score/records.h"

namespace notavera {

// The seven categories, in the order of the sign word's bits 11–13.
enum class TextCategory : unsigned {
    Dynamics = 0,          // "DYNAMIQUE"
    Lyrics = 1,            // "PAROLES"
    Instrument = 2,        // "INSTRUMENT"
    Marks = 3,             // "MARQUAGE"
    SymbolsOrnaments = 4,  // "SYMB-ORN"
    Tempo = 5,             // "TEMPO"
    Miscellaneous = 6,     // "DIVERS"
};

// Types are stored 0–6 and shown 1–7. The ones other parts of the system recognise:
inline constexpr unsigned MultiBarRestMark = 0;  // "MARQUAGE": "Silence multiple"
inline constexpr unsigned MeasureNumberMark = 1; // "MARQUAGE": "No mes."
inline constexpr unsigned FiguresMark = 2;       // "MARQUAGE": "Chiffrage"
inline constexpr unsigned FirstTitle = 0;        // "DIVERS": "Titre 1", then "Titre 2", "Titre 3"
inline constexpr unsigned FirstMiscellaneous = 3;  // "DIVERS": "Divers 1" … "Divers 4"

enum class TextStyle : unsigned { Upright = 0, Italic = 1, Bold = 2, BoldItalic = 3 };

// Stored 1–3; a 0 (never written by the editor) reads as horizontal.
enum class TextOrientation : unsigned { Horizontal = 1, Vertical = 2, Backwards = 3 };

// Where a lyric stands against its x.
enum class LyricJustification : unsigned { Centred = 0, Starting = 1, Ending = 2 };

// The entries of a new document's font table that texts name.
inline constexpr int MusicFontIndex = 0;
inline constexpr int TimesFontIndex = 1;
inline constexpr int ArialFontIndex = 2;
inline constexpr int FiguresFontIndex = 3;

inline constexpr int MinTextSize = 2;
inline constexpr int MaxTextSize = 250;

struct TextAttributes {
    TextCategory category = TextCategory::Dynamics;
    unsigned type = 0;  // 0–6
    TextStyle style = TextStyle::Upright;
    TextOrientation orientation = TextOrientation::Horizontal;
    LyricJustification justification = LyricJustification::Centred;
    bool opaque = false;
    int size = 0;       // the character height in page units before the zoom
    int fontIndex = 0;  // into the document's font table
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

bool IsText(const ElementRecord& e);

// The attributes of a text sign (of any sign: the bits are read as a text's).
TextAttributes TextAttributesOf(const ElementRecord& e);

// Writes the attributes into the sign word of a text, leaving its other bits alone; the size is clamped to
// 2–250 and the font index to the table's 0–31.
void SetTextAttributes(ElementRecord& e, const TextAttributes& a);

// The characters of a text, in the documents' code page (one byte each), without the blob's head.
std::string TextCharacters(const ElementRecord& e);

// Replaces the characters; an empty string leaves the text without a blob.
void SetTextCharacters(ElementRecord& e, std::string_view chars);

// A complete text sign at x, its lower edge given by `param` (see TextLowerEdge).
ElementRecord MakeTextElement(int x, int param, const TextAttributes& a, std::string_view chars);

// The stored parameter counts tenths of a staff space of the text's staff (`unit`) from the staff's top line
// upwards to the text's lower edge; its top is the lower edge plus its size.
double TextLowerEdge(double staffTop, int param, int unit);
// The parameter that puts a text's lower edge at `lowerEdge`, truncated towards zero.
int TextParamFor(double lowerEdge, double staffTop, int unit);

}  // namespace notavera
