// The advance after a note or rest when lines are respaced: reference value, proportions, cue notes, multi-bar
// rests, the aesthetic correction and dots.
#include "render/note_advance.h"

#include <gtest/gtest.h>

#include "score/records.h"

namespace notavera {
namespace {

constexpr int s = 10;

struct Case {
    unsigned code, dots = 0, num = 1, den = 1;
    AdvanceRules rules{6, 0, 0};
    int advance;  // in page units, for steps of 10
    bool cue = false, rest = false, stemUp = false, beamed = false;
};

class Advance : public ::testing::TestWithParam<Case> {};

TEST_P(Advance, FollowsTheValueAndItsMarks) {
    const Case& c = GetParam();
    ElementRecord e;
    e.noteWord().setDurationCode(c.code);
    e.noteWord().setDots(c.dots);
    e.noteWord().setRest(c.rest);
    e.noteWord().setStemFlag(c.stemUp);
    e.w0().setCueSize(c.cue);
    e.w0().setInBeam(c.beamed);
    e.w1().setNumerator(c.num);
    e.w1().setDenominator(c.den);
    EXPECT_EQ(NoteAdvance(e, c.rules, s), c.advance);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Advance,
    ::testing::Values(
        // Doubling per value above the reference sixteenth, never below three steps.
        Case{.code = 10, .advance = 30}, Case{.code = 6, .advance = 30}, Case{.code = 5, .advance = 60},
        Case{.code = 4, .advance = 120}, Case{.code = 3, .advance = 240}, Case{.code = 2, .advance = 480},
        Case{.code = 1, .advance = 960}, Case{.code = 0, .advance = 960},
        // Proportions: a triplet eighth takes two thirds; never under three steps; a zero field is damage.
        Case{.code = 5, .num = 3, .den = 2, .advance = 40}, Case{.code = 6, .num = 5, .den = 4, .advance = 30},
        Case{.code = 4, .num = 0, .den = 3, .advance = 120},
        // A cue note spaces like the next shorter value, a multi-bar rest like a whole note.
        Case{.code = 4, .advance = 60, .cue = true}, Case{.code = 15, .advance = 480, .rest = true},
        // The aesthetic correction narrows long values to two thirds, capped at 12 steps, a whole note + 4.
        Case{.code = 6, .rules = {6, 1, 0}, .advance = 30}, Case{.code = 5, .rules = {6, 1, 0}, .advance = 40},
        Case{.code = 4, .rules = {6, 1, 0}, .advance = 80}, Case{.code = 3, .rules = {6, 1, 0}, .advance = 120},
        Case{.code = 2, .rules = {6, 1, 0}, .advance = 160},
        // Its variant and polyphony take three quarters, polyphony uncapped; the half note's bonus needs 7.
        Case{.code = 4, .rules = {6, 2, 0}, .advance = 90}, Case{.code = 3, .rules = {6, 2, 0}, .advance = 120},
        Case{.code = 3, .rules = {6, 1, 1}, .advance = 180}, Case{.code = 3, .rules = {7, 1, 0}, .advance = 140},
        // Dots: a half more, a third with the aesthetic correction, three quarters for two...
        Case{.code = 4, .dots = 1, .advance = 180}, Case{.code = 4, .dots = 1, .rules = {6, 1, 0}, .advance = 106},
        Case{.code = 4, .dots = 2, .advance = 210}, Case{.code = 5, .dots = 2, .advance = 100},
        // ...and at the reference value their own room, with more for an up stem's flag outside a beam.
        Case{.code = 6, .dots = 1, .advance = 50}, Case{.code = 6, .dots = 2, .advance = 55},
        Case{.code = 6, .dots = 1, .advance = 60, .stemUp = true},
        Case{.code = 6, .dots = 2, .advance = 65, .stemUp = true},
        Case{.code = 6, .dots = 1, .advance = 50, .stemUp = true, .beamed = true}));

}  // namespace
}  // namespace notavera
