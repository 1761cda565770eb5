// The MIDI key of a note: letter, its own accidental, octave, octave shift and transposition.
#include <gtest/gtest.h>

#include "midi/note_key.h"

namespace notavera {
namespace {

ElementRecord note(unsigned letter, unsigned octave, Accidental accidental = Accidental::None, unsigned shift = 0) {
    ElementRecord e;
    e.w0().setOctave(octave);
    e.w1().setOctaveShift(shift);
    e.noteWord().setStep(letter);
    e.noteWord().setAccidental(accidental);
    return e;
}

struct KeyCase {
    ElementRecord element;
    int transposition;
    int key;
};

class MidiKeyOfNoteTest : public testing::TestWithParam<KeyCase> {};

TEST_P(MidiKeyOfNoteTest, FollowsThePitchRule) {
    EXPECT_EQ(MidiKeyOfNote(GetParam().element, GetParam().transposition), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Notes, MidiKeyOfNoteTest,
    testing::Values(KeyCase{note(1, 4), 0, 60},                                 // middle C
                    KeyCase{note(6, 4), 0, 69},                                 // A 440
                    KeyCase{note(7, 0), 0, 23},                                 // lowest octave's B
                    KeyCase{note(1, 4, Accidental::Sharp), 0, 61},              // C sharp
                    KeyCase{note(2, 4, Accidental::Flat), 0, 61},               // D flat
                    KeyCase{note(7, 4, Accidental::DoubleSharp), 0, 73},        // B double sharp
                    KeyCase{note(3, 4, Accidental::DoubleFlat), 0, 62},         // E double flat
                    KeyCase{note(3, 4, Accidental::Natural), 0, 64},            // natural: no alteration
                    KeyCase{note(5, 4, Accidental::QuarterSharp), 0, 67},       // quarter tones are not played
                    KeyCase{note(1, 4, Accidental::None, 1), 0, 72},            // 8va
                    KeyCase{note(1, 4, Accidental::None, 2), 0, 84},            // 15ma
                    KeyCase{note(1, 4, Accidental::None, 3), 0, 48},            // 8vb
                    KeyCase{note(1, 4, Accidental::None, 4), 0, 36},            // 15mb
                    KeyCase{note(1, 4, Accidental::None, 7), 0, 60},            // unknown shift code
                    KeyCase{note(1, 4), 12, 72}, KeyCase{note(1, 4), -48, 12},  // voice transposition
                    KeyCase{note(7, 7, Accidental::Sharp, 2), 0, 132}));        // beyond MIDI: caller decides

TEST(MidiKeyOfNote, RestsSignsAndUnknownLettersHaveNoKey) {
    ElementRecord rest = note(1, 4);
    rest.noteWord().setRest(true);
    ElementRecord sign = note(1, 4);
    sign.w0().setKind(ElementKind::Sign);
    EXPECT_EQ(MidiKeyOfNote(rest), std::nullopt);
    EXPECT_EQ(MidiKeyOfNote(sign), std::nullopt);
    EXPECT_EQ(MidiKeyOfNote(note(0, 4)), std::nullopt);
    EXPECT_EQ(MidiKeyOfNote(note(8, 4)), std::nullopt);
}

}  // namespace
}  // namespace notavera
