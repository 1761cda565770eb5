// Where the accidentals of key signatures go under each clef: the printed patterns of the common clefs, every
// accidental of every clef within reach of the staff, and the step from one accidental to the next.
#include "render/key_signature_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "render/geometry.h"
#include "render/music_font.h"

namespace notavera {
namespace {

struct KeyCase {
    int clef;
    KeyKind kind;
    std::string pitches;  // seven pitches "F5 C5 …" in writing order
};

class KeyPattern : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyPattern, SevenAccidentalsAreWrittenAsEngraversPrintThem) {
    const KeyCase& c = GetParam();
    constexpr std::string_view names = "CDEFGAB";
    for (int i = 0; i < MaxKeyAccidentals; ++i) {
        const std::string p = c.pitches.substr(static_cast<std::size_t>(i) * 3, 2);
        const KeyAccidentalPitch expected{static_cast<int>(names.find(p[0])) + 1, p[1] - '0'};
        EXPECT_EQ(KeyAccidentalAt(c.kind, i, ClefValueOfClef(c.clef)), expected) << "accidental " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    KeySignatures, KeyPattern,
    ::testing::Values(KeyCase{1, KeyKind::Sharps, "F5 C5 G5 D5 A4 E5 B4"},  // treble
                      KeyCase{1, KeyKind::Flats, "B4 E5 A4 D5 G4 C5 F4"},
                      KeyCase{3, KeyKind::Sharps, "F3 C3 G3 D3 A2 E3 B2"},  // bass
                      KeyCase{3, KeyKind::Flats, "B2 E3 A2 D3 G2 C3 F2"},
                      KeyCase{7, KeyKind::Sharps, "F4 C4 G4 D4 A3 E4 B3"},  // alto
                      KeyCase{7, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
                      // The tenor sharps open above the staff, then zigzag down from the G.
                      KeyCase{8, KeyKind::Sharps, "F4 C4 G3 D4 A3 E4 B3"},
                      KeyCase{8, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
                      // The octave clef reads an octave lower: the same places as the treble clef.
                      KeyCase{9, KeyKind::Sharps, "F4 C4 G4 D4 A3 E4 B3"},
                      KeyCase{9, KeyKind::Flats, "B3 E4 A3 D4 G3 C4 F3"},
                      // Under the C clef on line 1 the E comes down to the staff's own E.
                      KeyCase{5, KeyKind::Flats, "B4 E4 A4 D5 G4 C5 F4"},
                      // The flats of the baritone F clef and the mezzo C clef turn upwards at their wrap.
                      KeyCase{4, KeyKind::Flats, "B2 E3 A3 D3 G3 C3 F3"},
                      KeyCase{6, KeyKind::Flats, "B3 E4 A3 D4 G4 C4 F4"}));

TEST(KeySignatureLayout, EveryAccidentalOfEveryClefStaysWithinASpaceOfTheStaff) {
    for (int clef = 1; clef <= 11; ++clef) {
        const int value = ClefValueOfClef(clef);
        for (KeyKind kind : {KeyKind::Sharps, KeyKind::Flats}) {
            for (int i = 0; i < MaxKeyAccidentals; ++i) {
                const KeyAccidentalPitch p = KeyAccidentalAt(kind, i, value);
                // Half spaces above the bottom line, which lies 16 under the reference.
                const int h = PitchToOffset(p.step, p.octave, value, 1) + 16;
                EXPECT_TRUE(h >= -1 && h <= 9) << "clef " << clef << " kind " << int(kind) << " accidental " << i;
            }
        }
    }
    EXPECT_EQ(KeyAccidentalAt(KeyKind::None, 0, -2), KeyAccidentalPitch{});
    EXPECT_EQ(KeyAccidentalAt(KeyKind::Sharps, 7, -2), KeyAccidentalPitch{});
    EXPECT_EQ(KeyAccidentalAt(KeyKind::Flats, -1, -2), KeyAccidentalPitch{});
}

// Neighbouring accidentals keep a gap of 0.15 staff spaces; a score built without a drawing context measures
// the sharp on the document's music font as the drawing does.
TEST(KeySignatureLayout, AccidentalsAdvanceTheirWidthAndASmallGap) {
    EXPECT_EQ(KeyAccidentalAdvance(20, 20), 23);
    EXPECT_EQ(KeyAccidentalAdvance(10, 10), 12);
    const int sharp = MusicFont::Installed(SmuflFamily::Bravura)->widthAt(211, 8 * 20);
    EXPECT_EQ(KeyAccidentalAdvanceOnFont("Orvelin 4.2", 10), KeyAccidentalAdvance(sharp, 20));
    EXPECT_GT(sharp, 10) << "a sharp is about a staff space wide";
    EXPECT_LT(sharp, 30);
}

}  // namespace
}  // namespace notavera
