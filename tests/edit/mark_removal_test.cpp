// Détruire, the marks: the slur, beam group and rhythmic group under the cursor lose their marks on all their
// notes and on nothing else; with none there only a beep.
#include <gtest/gtest.h>

#include "edit/mark_removal.h"
#include "shell/dispatch.h"
#include "shell/erase_commands.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

// Six eighths at 200..700 on one staff; the cursor on the note at `x`.
class MarkRemovalTest : public ::testing::Test {
protected:
    MarkRemovalTest() {
        b.on(1, 0).notes(200, 100, 6, 1, 5);
        b.doc().modified = false;
    }
    ElementRecord& n(int i) { return b.doc().page()->staves[0].elements[i]; }
    void at(int i) {
        b.setCurrent(1, 0, i);
        b.ctx().shell.cursor.x = n(i).x;
    }
    void curve(int from, int to) {
        n(from).w0().setTiedToNext(true);
        n(from).w0().setTieStarts(true);
        n(to).w0().setTiedToNext(true);
        n(to).w0().setTieEnds(true);
    }
    void beam(int from, int to) {
        for (int i = from; i <= to; ++i) n(i).w0().setInBeam(true);
        n(from).w0().setOpensBeam(true);
        n(to).w0().setClosesBeam(true);
    }
    void group(int from, int to, unsigned num, unsigned den) {
        for (int i = from; i <= to; ++i) {
            n(i).w1().setNumerator(num);
            n(i).w1().setDenominator(den);
        }
        n(from).w0().setGroupMark(1);
        n(to).w0().setGroupMark(n(to).w0().groupMark() | 2);
    }
    unsigned curveBits(int i) { return n(i).word0 & 0xEu; }
    unsigned beamBits(int i) { return n(i).word0 & 0xE0u; }

    ScoreBuilder b{1, 1, 1};
};

TEST_F(MarkRemovalTest, TheSlurOverTheCursorGoesFromBothItsNotes) {
    curve(0, 2);
    curve(2, 4);  // note 2 ends one slur and starts the next
    at(1);
    DispatchCommand(b.ctx(), eraseSlurCommand);
    EXPECT_EQ(curveBits(0), 0u);
    EXPECT_EQ(curveBits(2), 0x6u);  // still the end point of the second slur, which starts there
    EXPECT_EQ(curveBits(4), 0xAu);
    EXPECT_TRUE(b.doc().modified);

    at(2);  // the slur starting at the cursor
    DispatchCommand(b.ctx(), eraseSlurCommand);
    EXPECT_EQ(curveBits(2), 0u);
    EXPECT_EQ(curveBits(4), 0u);
}

TEST_F(MarkRemovalTest, ASlurFromThePreviousLineLosesItsEnd) {
    n(1).w0().setTiedToNext(true);
    n(1).w0().setTieEnds(true);
    at(0);
    EXPECT_TRUE(EraseSlur(b.doc(), b.ui()));
    EXPECT_EQ(curveBits(1), 0u);
}

TEST_F(MarkRemovalTest, TheBeamGroupOfTheCursorGoesAndTheNextStays) {
    beam(0, 2);
    beam(3, 5);
    at(1);
    DispatchCommand(b.ctx(), eraseBeamCommand);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(beamBits(i), 0u) << i;
    for (int i = 3; i < 6; ++i) EXPECT_NE(beamBits(i), 0u) << i;
}

TEST_F(MarkRemovalTest, TheRhythmicGroupGoesAndItsNotesCanBeDeletedAgain) {
    group(1, 3, 3, 2);
    at(2);
    DispatchKey(b.ctx(), Key::Delete, {});
    ASSERT_FALSE(b.ui().messages().empty());
    EXPECT_EQ(b.ui().messages().back().stringId, 19);  // "Supprimez liaison/groupe avant"
    DispatchCommand(b.ctx(), eraseGroupCommand);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(n(i).w0().groupMark(), 0u) << i;
        EXPECT_EQ(n(i).w1().numerator(), 1u) << i;
        EXPECT_EQ(n(i).w1().denominator(), 1u) << i;
    }
    DispatchKey(b.ctx(), Key::Delete, {});
    EXPECT_EQ(b.doc().page()->staves[0].elements.size(), 5u);
}

TEST_F(MarkRemovalTest, AGroupStillOpenAtTheLineEndGoesToTheEnd) {
    n(3).w0().setGroupMark(1);
    n(3).w1().setNumerator(3);
    n(3).w1().setDenominator(2);
    at(4);
    EXPECT_TRUE(EraseGroup(b.doc(), b.ui()));
    EXPECT_EQ(n(3).w0().groupMark(), 0u);
    EXPECT_EQ(n(3).w1().numerator(), 1u);
}

using Erase = bool (*)(ScoreDocument&, UiServices&);

class NothingToRemoveTest : public MarkRemovalTest, public ::testing::WithParamInterface<Erase> {};

TEST_P(NothingToRemoveTest, OnlyBeeps) {
    group(0, 1, 3, 2);  // a group that closes before the cursor
    beam(0, 1);
    curve(0, 1);
    b.doc().modified = false;
    at(3);
    const int beeps = b.ui().beeps();
    EXPECT_FALSE(GetParam()(b.doc(), b.ui()));
    EXPECT_EQ(b.ui().beeps(), beeps + 1);
    EXPECT_FALSE(b.doc().modified);
}

INSTANTIATE_TEST_SUITE_P(Commands, NothingToRemoveTest, ::testing::Values(&EraseSlur, &EraseBeam, &EraseGroup));

}  // namespace
}  // namespace notavera
