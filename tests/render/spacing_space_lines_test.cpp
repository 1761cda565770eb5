// Respacing a line: columns, gaps after signs, alignment of staves, settings carried by signs, and the iteration
// that fits a line to its length.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/space_lines.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

constexpr int su = 10;
constexpr int start = 3 * su;  // first column: left edge (0 here) + 3 step units

SpacingSettings Plain() {
    SpacingSettings s;
    s.step = su;
    s.stepUnit = su;
    s.rules = AdvanceRules{6, 0, 0};
    s.tolerance = 0;
    s.accidentalWidth = 20;
    s.lineLength = 1800;
    s.timeSignatureEnd = [](const StaffRecord& staff, int index) { return staff.elements[index].x + 6 * su + 20; };
    return s;
}

std::vector<int> Xs(const StaffRecord& staff) {
    std::vector<int> xs;
    for (const ElementRecord& e : staff.elements) xs.push_back(e.x);
    return xs;
}

class SpaceLinesTest : public ::testing::Test {
protected:
    explicit SpaceLinesTest(int staves = 1) : b(1, staves, staves) {}
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }
    SpacingResult space(std::vector<StaffRecord*> staves, SpacingSettings& s, SpacingMode mode = SpacingMode::Raw) {
        return SpaceLines(staves, mode, s);
    }
    SpacingResult space1(SpacingSettings& s, SpacingMode mode = SpacingMode::Raw) { return space({&staff(0)}, s, mode); }

    ScoreBuilder b;
};

class SpaceBlockTest : public SpaceLinesTest {
protected:
    SpaceBlockTest() : SpaceLinesTest(2) {}
};

TEST_F(SpaceLinesTest, QuartersAdvanceTwelveSteps) {
    b.on(1, 0).notes(500, 37, 3, 5, 4);
    SpacingSettings s = Plain();
    const SpacingResult r = space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 120, start + 240}));
    EXPECT_EQ(r.step, su);
    EXPECT_EQ(r.stepCount, 24);
}

TEST_F(SpaceLinesTest, BarTakesItsDistanceAndShortValuesGetRoomBeforeIt) {
    b.on(1, 0);
    b.note(100, 5, 6);  // a sixteenth: 3 steps, one more before a bar
    b.bar(130);
    b.note(160, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 40, start + 80}));
}

TEST_F(SpaceLinesTest, RepeatBarIsKeptAwayAndLeavesMoreRoom) {
    b.on(1, 0);
    b.note(100, 5, 6);
    CreateSign(b.doc(), 130, 0, 'R', SignType::Bar, 0);
    b.note(160, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 80, start + 80 + 70}));
}

TEST_F(SpaceLinesTest, TimeSignatureLeavesItsDrawnWidthAndDistance) {
    b.on(1, 0);
    b.meter(60, 3, 4);
    b.note(200, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 80 + 30}));
}

TEST_F(SpaceLinesTest, ClefAtLineStartMakesRoomForTheKeySignature) {
    staff(0).key().setKeyKind(KeyKind::Sharps);
    staff(0).key().setKeyCount(3);
    b.on(1, 0);
    CreateSign(b.doc(), 40, 0, 1, SignType::Clef, 0);
    b.note(200, 5, 4);
    b.note(300, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(staff(0).elements[1].x, start + 100 + 20 * 4 * 3 / 4);
}

struct KeyChangeCase {
    KeyKind from;
    int fromCount;
    unsigned toKind;
    unsigned toCount;
    bool cancels;
    int accidentalsShown;
};

class KeyChangeGap : public SpaceLinesTest, public ::testing::WithParamInterface<KeyChangeCase> {};

TEST_P(KeyChangeGap, LeavesRoomForCancelledAndNewAccidentals) {
    const KeyChangeCase c = GetParam();
    staff(0).key().setKeyKind(c.from);
    staff(0).key().setKeyCount(static_cast<unsigned>(c.fromCount));
    b.on(1, 0);
    ElementRecord& change = *CreateSign(b.doc(), 100, 0, 0, SignType::KeyChange, c.toKind);
    change.signWord().setHigh7(c.toCount);
    change.signWord().setFlag16(c.cancels);
    b.on(1, 0).note(200, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(staff(0).elements[1].x - staff(0).elements[0].x, c.accidentalsShown * 20 + 6 * su);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyChangeGap,
                         ::testing::Values(KeyChangeCase{KeyKind::Sharps, 2, 2, 1, false, 3},
                                           KeyChangeCase{KeyKind::Sharps, 2, 1, 4, false, 4},
                                           KeyChangeCase{KeyKind::Sharps, 3, 1, 1, false, 4},
                                           KeyChangeCase{KeyKind::None, 0, 2, 3, false, 3},
                                           KeyChangeCase{KeyKind::Flats, 3, 2, 3, true, 3}));

TEST_F(SpaceLinesTest, SignsThatTakeNoRoomStayWithTheirColumn) {
    b.on(1, 0);
    b.note(100, 5, 4);
    ElementRecord& curve = *CreateSign(b.doc(), 110, 0, 0, SignType::Curve, 0);
    (void)curve;
    b.note(300, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start, start + 120}));
}

TEST_F(SpaceLinesTest, FreeDotStaysBesideItsNoteAndAddsAStepUnit) {
    b.on(1, 0);
    b.note(100, 5, 4);
    CreateSign(b.doc(), 115, 0, 5, SignType::FreeDot, 0);
    b.on(1, 0).note(250, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 15, start + 130}));
}

TEST_F(SpaceLinesTest, NoteWithAccidentalAfterShortValueGetsRoomForIt) {
    b.on(1, 0);
    b.note(100, 5, 6);
    ElementRecord& sharp = b.note(130, 6, 6);
    sharp.noteWord().setAccidental(Accidental::Sharp);
    sharp.noteWord().setHiddenAccidental(false);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(staff(0).elements[1].x, start + 30 + 20);
}

TEST_F(SpaceLinesTest, ChordMembersShareOneColumn) {
    b.on(1, 0);
    for (unsigned name : {1u, 3u, 5u}) b.on(1, 0).note(100, name, 4).noteWord().setBit(18, true);
    staff(0).elements[2].noteWord().setBit(19, true);
    b.on(1, 0).note(250, 1, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start, start, start + 120}));
}

TEST_F(SpaceLinesTest, TimeSignatureCarriesSpacingSettingsForward) {
    b.on(1, 0);
    ElementRecord& meter = b.meter(60, 4, 4);
    meter.w1().setSmallField(5);  // the eighth becomes the reference value
    meter.signWord().setHigh7(12);
    b.note(200, 5, 4);
    b.note(300, 5, 4);
    SpacingSettings s = Plain();
    space1(s);
    EXPECT_EQ(s.rules.referenceValue, 5);
    EXPECT_EQ(s.step, 12);
    EXPECT_EQ(staff(0).elements[2].x - staff(0).elements[1].x, 6 * 12);  // a quarter is 6 steps of 12
}

TEST_F(SpaceLinesTest, EmptyStaffChangesNothing) {
    SpacingSettings s = Plain();
    s.step = 17;
    const SpacingResult r = space1(s, SpacingMode::Optimised);
    EXPECT_EQ(r.step, 17);
    EXPECT_EQ(s.step, 17);
}

TEST_F(SpaceLinesTest, OptimisedLineEndingFourStepsShortIsKept) {
    b.on(1, 0).notes(100, 50, 11, 5, 4);
    SpacingSettings s = Plain();
    s.lineLength = start + 10 * 120 + 4 * su;
    const SpacingResult r = space1(s, SpacingMode::Optimised);
    EXPECT_EQ(r.step, su);
    EXPECT_EQ(s.step, su);
    EXPECT_EQ(staff(0).elements.back().x, start + 1200);
}

TEST_F(SpaceLinesTest, OptimisedLineIsStretchedTowardsItsLength) {
    b.on(1, 0).notes(100, 50, 11, 5, 4);
    SpacingSettings s = Plain();
    s.lineLength = 1800;
    const SpacingResult r = space1(s, SpacingMode::Optimised);
    EXPECT_GT(r.step, su);
    EXPECT_EQ(s.step, r.step);
    EXPECT_GE(r.lastX, s.lineLength - 10 * su);
    EXPECT_LE(r.lastX, s.lineLength + 10 * su);
}

TEST_F(SpaceLinesTest, OptimisedLineTooFullIsNarrowed) {
    b.on(1, 0).notes(100, 50, 20, 5, 4);
    SpacingSettings s = Plain();
    s.lineLength = 1800;
    const SpacingResult r = space1(s, SpacingMode::Optimised);
    EXPECT_LT(r.step, su);
    EXPECT_LE(r.lastX, s.lineLength + 10 * su);
}

TEST_F(SpaceLinesTest, OptimisedLineWithoutLengthIsSpacedOnce) {
    b.on(1, 0).notes(100, 50, 5, 5, 4);
    SpacingSettings s = Plain();
    s.lineLength = 0;
    EXPECT_EQ(space1(s, SpacingMode::Optimised).step, su);
    EXPECT_EQ(staff(0).elements.back().x, start + 480);
}

TEST_F(SpaceLinesTest, ShortLineIsNotStretched) {
    b.on(1, 0).notes(100, 50, 3, 5, 4);
    SpacingSettings s = Plain();
    const SpacingResult r = space1(s, SpacingMode::Optimised);
    EXPECT_EQ(r.step, su);
}

struct ToleranceCase {
    int tolerance;
    bool oneColumn;
};

class AlignmentTolerance : public SpaceBlockTest, public ::testing::WithParamInterface<ToleranceCase> {};

TEST_P(AlignmentTolerance, NearNotesOfTwoStavesShareAColumnWithinTheTolerance) {
    b.on(1, 0).note(1000, 5, 4);
    b.on(1, 1).note(1003, 3, 4);
    SpacingSettings s = Plain();
    s.tolerance = GetParam().tolerance;
    space({&staff(0), &staff(1)}, s);
    if (GetParam().oneColumn) {
        EXPECT_EQ(staff(0).elements[0].x, staff(1).elements[0].x);
    } else {
        EXPECT_EQ(staff(0).elements[0].x, start);
        EXPECT_EQ(staff(1).elements[0].x, start + 120);
    }
}

INSTANTIATE_TEST_SUITE_P(Tolerances, AlignmentTolerance,
                         ::testing::Values(ToleranceCase{5, true}, ToleranceCase{2, false}));

TEST_F(SpaceBlockTest, NextColumnFollowsTheShortestSimultaneousValue) {
    b.on(1, 0).note(100, 5, 3);  // a half against
    b.on(1, 1).note(100, 3, 4);  // a quarter
    b.on(1, 1).note(200, 3, 4);
    b.on(1, 0).note(300, 5, 4);
    b.on(1, 1).note(300, 3, 4);
    SpacingSettings s = Plain();
    space({&staff(0), &staff(1)}, s);
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 240}));
    EXPECT_EQ(Xs(staff(1)), (std::vector<int>{start, start + 120, start + 240}));
}

TEST_F(SpaceBlockTest, SimultaneousNotesAreTiedAcrossStavesBeforeOtherSigns) {
    b.on(1, 0).note(100, 5, 4);
    b.on(1, 0).note(200, 5, 4);
    b.on(1, 1).note(100, 3, 4);
    b.on(1, 1).note(203, 3, 4);
    CreateSign(b.doc(), 203, 0, 0, SignType::Curve, 0);
    SpacingSettings s = Plain();
    s.tolerance = 5;
    space({&staff(0), &staff(1)}, s);
    EXPECT_EQ(staff(0).elements[1].x, staff(1).elements[1].x);
    EXPECT_EQ(staff(1).elements.size(), 3u);
    EXPECT_LE(staff(1).elements[1].x, staff(1).elements[2].x);
}

TEST_F(SpaceBlockTest, BarsOfTheBlockShareOneColumn) {
    b.on(1, 0).note(100, 5, 4);
    b.on(1, 0).bar(200);
    b.on(1, 0).note(250, 5, 4);
    b.on(1, 1).note(100, 3, 4);
    b.on(1, 1).bar(200);
    b.on(1, 1).note(250, 3, 4);
    SpacingSettings s = Plain();
    space({&staff(0), &staff(1)}, s);
    EXPECT_EQ(Xs(staff(0)), Xs(staff(1)));
    EXPECT_EQ(Xs(staff(0)), (std::vector<int>{start, start + 120, start + 160}));
}

class PolyphonyCorrection : public SpaceBlockTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PolyphonyCorrection, BringsANoteBackTowardsItsOwnPredecessor) {
    b.on(1, 0).note(100, 5, 3);  // a half, then a note that the bar of the other staff pushed right
    b.on(1, 0).note(300, 5, 4);
    b.on(1, 1).note(100, 3, 4);
    b.on(1, 1).bar(200);
    b.on(1, 1).note(250, 3, 4);
    SpacingSettings s = Plain();
    s.rules.polyphony = GetParam() ? 1 : 0;
    space({&staff(0), &staff(1)}, s);
    EXPECT_EQ(Xs(staff(1)), (std::vector<int>{start, start + 120, start + 160}));
    EXPECT_EQ(staff(0).elements[1].x, GetParam() ? start + 240 : start + 280);
}

INSTANTIATE_TEST_SUITE_P(OnOff, PolyphonyCorrection, ::testing::Bool());

// Whatever the mixture of elements, respacing keeps every element of every staff, in its order.
class MixedBlock : public SpaceBlockTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(MixedBlock, KeepsEveryElementInOrder) {
    std::mt19937 random(GetParam());
    for (int k = 0; k < 2; ++k) {
        int x = 60;
        for (int n = 0; n < 40; ++n) {
            x += static_cast<int>(random() % 40);
            b.on(1, k);
            switch (random() % 6) {
                case 0: b.bar(x); break;
                case 1: CreateSign(b.doc(), x, 0, 1, SignType::Clef, 0); break;
                case 2: CreateSign(b.doc(), x, 0, 0, SignType::Curve, 0); break;
                case 3: b.rest(x, random() % 11, random() % 3); break;
                default: {
                    ElementRecord& e = b.note(x, 1 + random() % 7, random() % 11, random() % 3);
                    e.noteWord().setAccidental(static_cast<Accidental>(random() % 8));
                    e.noteWord().setStemFlag(random() % 2 != 0);
                    e.w1().setNumerator(1 + random() % 4);
                }
            }
        }
    }
    const std::size_t sizes[2] = {staff(0).elements.size(), staff(1).elements.size()};
    for (SpacingMode mode : {SpacingMode::Raw, SpacingMode::Optimised}) {
        SpacingSettings s = Plain();
        s.tolerance = static_cast<int>(random() % 6);
        s.rules = AdvanceRules{6, static_cast<int>(random() % 3), static_cast<int>(random() % 2)};
        space({&staff(0), &staff(1)}, s, mode);
        for (int k = 0; k < 2; ++k) {
            ASSERT_EQ(staff(k).elements.size(), sizes[k]);
            const std::vector<int> xs = Xs(staff(k));
            EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
            EXPECT_GE(xs.front(), start);
        }
        EXPECT_GT(s.step, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, MixedBlock, ::testing::Range(1u, 21u));

}  // namespace
}  // namespace notavera
