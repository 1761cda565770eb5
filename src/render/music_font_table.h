// The system's music-font codes (201 whole head, 207 G clef, 211 sharp …) and the SMuFL glyphs that draw them,
// with the substitutions of old-notation lines and cue clefs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace notavera {

// Where a glyph's SMuFL origin goes relative to the point the system writes the code at.
enum class GlyphAnchor : std::uint8_t {
    Origin,             // SMuFL and the system agree: noteheads, clefs, accidentals, flags, rests
    SeatedOnBaseline,   // time-signature glyphs: SMuFL centres them on the line, the system stands them on it
    CentredVertically,  // the ink box is centred on the point (repeat dots, mensural rests)
    OverNotehead,       // articulations: centred over a black notehead whose left edge is the point
};

struct SmuflGlyphName {
    std::string_view name;  // empty: no glyph
    char32_t codePoint = 0;
};

// A code of the normal set, with a second choice for fonts that lack the first.
struct MusicCode {
    std::uint8_t code;
    SmuflGlyphName glyph;
    SmuflGlyphName fallback;
    GlyphAnchor anchor;
};

// A code of the alternate set written on old-notation lines; fonts without the ancient shape draw `modernCode`
// of the normal set instead.
struct AlternateMusicCode {
    std::uint8_t code;
    SmuflGlyphName glyph;
    std::uint8_t modernCode;
    GlyphAnchor anchor;
};

std::span<const MusicCode> NormalMusicCodes();

// The codes of the flags of two strokes (a sixteenth) and more, one glyph each: MultiFlagUpCode + strokes − 2 for a
// stem up, MultiFlagDownCode + strokes − 2 for a stem down, up to six strokes. One stroke is code 205 or 206.
inline constexpr int MultiFlagUpCode = 170;
inline constexpr int MultiFlagDownCode = 175;
inline constexpr int MaxFlagStrokes = 6;

// The codes of the tuplet digits 0–9: TupletDigitCode + digit.
inline constexpr int TupletDigitCode = 160;
std::span<const AlternateMusicCode> AlternateMusicCodes();

// Glyphs the system writes without a code of its own: the brace, in the sizes a font may offer for taller
// groups, the hooked ends of a square bracket, and the labels of the octave lines ("8va", "15ma", "8vb", "15mb").
// Fonts without a size variant draw the plain brace.
enum class StructuralGlyph : std::uint8_t {
    Brace, BraceLarge, BraceLarger, BracketTop, BracketBottom, OttavaAlta, QuindicesimaAlta, OttavaBassa,
    QuindicesimaBassa
};
inline constexpr std::size_t StructuralGlyphCount = 9;

// Indexed by StructuralGlyph.
std::span<const SmuflGlyphName> StructuralGlyphNames();

// The code actually written for `code`, and whether it is looked up in the alternate set and drawn with the
// staff's normal-size font although the element is cue size.
struct WrittenCode {
    int code = 0;
    bool alternate = false;
    bool normalSize = false;
};

// On an old-notation line codes 200–220 take their alternate, code + 20; a cue-size clef there (227, 228, 229)
// becomes the cue clef 241, 242, 243, written with the normal-size font. Codes from 221 up have no alternate: their
// + 20 would collide with the cue clefs or run past the 8-bit code range.
WrittenCode SubstituteCode(int code, bool alternateLine, bool cueSize);

}  // namespace notavera
