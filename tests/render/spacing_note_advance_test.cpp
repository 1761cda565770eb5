// The advance after a note or rest: reference value, proportions, cue notes, multi-bar rests, corrections, dots.
#include <gtest/gtest.h>

#include "render/note_advance.h"
#include "score/records.h"

namespace notavera {
namespace {

constexpr int s = 10;

ElementRecord Note(unsigned code, unsigned dots = 0) {
    ElementRecord e;
    e.noteWord().setDurationCode(code);
    e.noteWord().setDots(dots);
    e.w1().setNumerator(1);
    e.w1().setDenominator(1);
    return e;
}

AdvanceRules Plain() { return AdvanceRules{6, 0, 0}; }

struct ValueCase {
    unsigned code;
    int steps;
};

class PlainAdvance : public ::testing::TestWithParam<ValueCase> {};

TEST_P(PlainAdvance, DoublesPerValueAboveTheReference) {
    EXPECT_EQ(NoteAdvance(Note(GetParam().code), Plain(), s), GetParam().steps * s);
}

INSTANTIATE_TEST_SUITE_P(ReferenceSixteenth, PlainAdvance,
                         ::testing::Values(ValueCase{10, 3}, ValueCase{7, 3}, ValueCase{6, 3}, ValueCase{5, 6},
                                           ValueCase{4, 12}, ValueCase{3, 24}, ValueCase{2, 48},
                                           ValueCase{1, 96}, ValueCase{0, 96}));

TEST(NoteAdvance, TripletEighthTakesTwoThirds) {
    ElementRecord e = Note(5);
    e.w1().setNumerator(3);
    e.w1().setDenominator(2);
    EXPECT_EQ(NoteAdvance(e, Plain(), s), 4 * s);
}

TEST(NoteAdvance, ProportionNeverGoesBelowThreeSteps) {
    ElementRecord e = Note(6);
    e.w1().setNumerator(5);
    e.w1().setDenominator(4);
    EXPECT_EQ(NoteAdvance(e, Plain(), s), 3 * s);
}

TEST(NoteAdvance, DamagedProportionIsIgnored) {
    ElementRecord e = Note(4);
    e.w1().setNumerator(0);
    e.w1().setDenominator(3);
    EXPECT_EQ(NoteAdvance(e, Plain(), s), 12 * s);
}

TEST(NoteAdvance, DottedQuarterAddsHalfWithoutAesthetic) { EXPECT_EQ(NoteAdvance(Note(4, 1), Plain(), s), 18 * s); }

TEST(NoteAdvance, DottedQuarterAddsThirdWithAesthetic) {
    // 12 s × 2/3 = 8 s, then a third: 10 s (integer steps of the page).
    EXPECT_EQ(NoteAdvance(Note(4, 1), AdvanceRules{6, 1, 0}, s), 8 * s + 8 * s / 3);
}

TEST(NoteAdvance, DoubleDotAddsThreeQuartersOrHalfPlusStepNextToReference) {
    EXPECT_EQ(NoteAdvance(Note(4, 2), Plain(), s), 12 * s + 9 * s);
    EXPECT_EQ(NoteAdvance(Note(5, 2), Plain(), s), 6 * s + 3 * s + s);
}

TEST(NoteAdvance, DotAtReferenceValueGetsItsOwnRoom) {
    EXPECT_EQ(NoteAdvance(Note(6, 1), Plain(), s), 5 * s);
    EXPECT_EQ(NoteAdvance(Note(6, 2), Plain(), s), 11 * s / 2);
    ElementRecord up = Note(6, 1);
    up.noteWord().setStemFlag(true);
    EXPECT_EQ(NoteAdvance(up, Plain(), s), 6 * s);  // room for the flag before the dot
    up.w0().setInBeam(true);
    EXPECT_EQ(NoteAdvance(up, Plain(), s), 5 * s);
}

TEST(NoteAdvance, CueNoteSpacesLikeTheNextShorterValue) {
    ElementRecord e = Note(4);
    e.w0().setCueSize(true);
    EXPECT_EQ(NoteAdvance(e, Plain(), s), 6 * s);
}

TEST(NoteAdvance, MultiBarRestSpacesLikeAWholeNote) {
    ElementRecord e = Note(15);
    e.noteWord().setRest(true);
    EXPECT_EQ(NoteAdvance(e, Plain(), s), 48 * s);
}

TEST(NoteAdvance, AestheticCorrectionNarrowsLongValues) {
    const AdvanceRules on{6, 1, 0};
    EXPECT_EQ(NoteAdvance(Note(6), on, s), 3 * s);   // the reference value is untouched
    EXPECT_EQ(NoteAdvance(Note(5), on, s), 4 * s);   // 6 s × 2/3
    EXPECT_EQ(NoteAdvance(Note(4), on, s), 8 * s);   // 12 s × 2/3
    EXPECT_EQ(NoteAdvance(Note(3), on, s), 12 * s);  // capped at 12 s
    EXPECT_EQ(NoteAdvance(Note(2), on, s), 16 * s);  // capped, then + 4 s for a whole note
}

TEST(NoteAdvance, AestheticVariantAndPolyphonyTakeThreeQuartersUncapped) {
    EXPECT_EQ(NoteAdvance(Note(4), AdvanceRules{6, 2, 0}, s), 9 * s);
    EXPECT_EQ(NoteAdvance(Note(3), AdvanceRules{6, 2, 0}, s), 12 * s);  // capped without polyphony
    EXPECT_EQ(NoteAdvance(Note(3), AdvanceRules{6, 1, 1}, s), 18 * s);
}

TEST(NoteAdvance, HalfNoteBonusNeedsReferenceSeven) {
    EXPECT_EQ(NoteAdvance(Note(3), AdvanceRules{7, 1, 0}, s), 14 * s);
    EXPECT_EQ(NoteAdvance(Note(3), AdvanceRules{6, 1, 0}, s), 12 * s);
}

}  // namespace
}  // namespace notavera
