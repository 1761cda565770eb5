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

TEST(MidiKeyOfNote, FollowsThePitchRule) {
    using A = Accidental;
    const std::tuple<ElementRecord, int, int> cases[] = {
        {note(1, 4), 0, 60},                     // middle C
        {note(6, 4), 0, 69},                     // A 440
        {note(7, 0), 0, 23},                     // lowest octave's B
        {note(1, 4, A::Sharp), 0, 61},           {note(2, 4, A::Flat), 0, 61},
        {note(7, 4, A::DoubleSharp), 0, 73},     {note(3, 4, A::DoubleFlat), 0, 62},
        {note(3, 4, A::Natural), 0, 64},         // natural: no alteration
        {note(5, 4, A::QuarterSharp), 0, 67},    // quarter tones are not played
        {note(1, 4, A::None, 1), 0, 72},         // 8va
        {note(1, 4, A::None, 2), 0, 84},         // 15ma
        {note(1, 4, A::None, 3), 0, 48},         // 8vb
        {note(1, 4, A::None, 4), 0, 36},         // 15mb
        {note(1, 4, A::None, 7), 0, 60},         // unknown shift code
        {note(1, 4), 12, 72},                    // voice transposition
        {note(1, 4), -48, 12},                   //
        {note(7, 7, A::Sharp, 2), 0, 132}};      // beyond MIDI: the caller decides
    for (const auto& [e, transposition, key] : cases) EXPECT_EQ(MidiKeyOfNote(e, transposition), key) << key;
    ElementRecord rest = note(1, 4);
    rest.noteWord().setRest(true);
    ElementRecord sign = note(1, 4);
    sign.w0().setKind(ElementKind::Sign);
    for (const ElementRecord& none : {rest, sign, note(0, 4), note(8, 4)}) EXPECT_EQ(MidiKeyOfNote(none), std::nullopt);
}

}  // namespace
}  // namespace notavera
