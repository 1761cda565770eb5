// The octave rules of key signatures, per clef, and the distance between their accidentals. The clefs are told apart by their clef value: the two clefs that
// share a value (F line 3 and C line 5; C line 1 and percussion) share their rules.
#include "render/key_signature_layout.h"

#include <array>
#include <cmath>

#include "render/music_font.h"

namespace notavera {
namespace {

constexpr std::array<int, MaxKeyAccidentals> SharpOrder{4, 1, 5, 2, 6, 3, 7};  // F C G D A E B
constexpr std::array<int, MaxKeyAccidentals> FlatOrder{7, 3, 6, 2, 5, 1, 4};   // B E A D G C F

// Clef values of the clefs whose rules differ from the C clef's.
constexpr int TrebleValue = -2, FrenchViolinValue = -4, BassValue = 10, BaritoneFValue = 8, SopranoValue = 0,
              MezzoValue = 2, AltoValue = 4, TenorValue = 6, TrebleOctaveValue = 5, SubBassValue = 12;

constexpr int NoWrap = MaxKeyAccidentals;

// The octave of the first accidental, from middle C's octave.
int BaseOctaveOffset(KeyKind kind, int clefValue) {
    switch (clefValue) {
    case BassValue:
    case BaritoneFValue:
    case SubBassValue: return kind == KeyKind::Sharps ? -1 : -2;
    case MezzoValue:
    case AltoValue:
    case TenorValue:
    case TrebleOctaveValue: return kind == KeyKind::Flats ? -1 : 0;
    case TrebleValue:
    case FrenchViolinValue: return kind == KeyKind::Sharps ? 1 : 0;
    default: return 0;
    }
}

// From which accidental on the zigzag turns back to stay on the staff.
int WrapPosition(KeyKind kind, int clefValue) {
    if (kind == KeyKind::Flats) {
        if (clefValue == BaritoneFValue) return 2;
        if (clefValue == MezzoValue) return 4;
        return NoWrap;
    }
    switch (clefValue) {
    case TenorValue: return 2;
    case TrebleValue:
    case FrenchViolinValue:
    case BassValue:
    case AltoValue:
    case TrebleOctaveValue:
    case SubBassValue: return 4;
    default: return NoWrap;
    }
}

// Sharps in one octave already step down a fourth and up a fifth in turn. At the wrap the sharp steps down
// again, an octave below where it would go, and the zigzag goes on from there: up, down, up.
int SharpOctave(int position, int base, int wrap) {
    if (position < wrap) return base;
    return base - 1 + (position - wrap) % 2;
}

// Flats step up a fourth and down a fifth in turn: every second one is an octave higher. At the wrap the flat
// steps up again instead of down, and the zigzag goes on from there, which in one octave it does by itself.
int FlatOctave(int position, int base, int wrap, int clefValue) {
    if (position >= wrap) return base + 1;
    // Under the C clef on line 1 the E would leave the staff: it goes down to the staff's own E.
    if (clefValue == SopranoValue && position == 1) return base;
    return base + position % 2;
}

}  // namespace

KeyAccidentalPitch KeyAccidentalAt(KeyKind kind, int position, int clefValue) {
    if ((kind != KeyKind::Sharps && kind != KeyKind::Flats) || position < 0 || position >= MaxKeyAccidentals)
        return {};
    const auto i = static_cast<std::size_t>(position);
    const int base = 4 + BaseOctaveOffset(kind, clefValue);
    const int wrap = WrapPosition(kind, clefValue);
    if (kind == KeyKind::Sharps) return {SharpOrder[i], SharpOctave(position, base, wrap)};
    return {FlatOrder[i], FlatOctave(position, base, wrap, clefValue)};
}

int KeyAccidentalCode(KeyKind kind) { return kind == KeyKind::Flats ? 213 : 211; }

namespace {
constexpr double KeyAccidentalGap = 0.15;  // staff spaces
constexpr int SharpCode = 211;
}  // namespace

int KeyAccidentalAdvance(int accidentalWidth, int staffSpace) {
    return accidentalWidth + static_cast<int>(std::lround(KeyAccidentalGap * staffSpace));
}

int KeyAccidentalAdvanceOnFont(std::string_view face, int stepUnit) {
    const int staffSpace = 2 * stepUnit;
    const MusicFont* font = MusicFont::Installed(FamilyForFace(face));
    const int fontHeight = static_cast<int>(MusicFont::StaffSpacesPerHeight) * staffSpace;
    const int width = font != nullptr ? font->widthAt(SharpCode, fontHeight) : staffSpace;
    return KeyAccidentalAdvance(width, staffSpace);
}

int LineStartKeyX(int leftEdge, int stepUnit, bool oldNotation) {
    return leftEdge + 8 * stepUnit + (oldNotation ? stepUnit : 0);
}

int LineStartKeyEnd(int keyStart, int count, int accidentalAdvance, int stepUnit) {
    return keyStart + count * accidentalAdvance + 6 * stepUnit;
}

}  // namespace notavera
