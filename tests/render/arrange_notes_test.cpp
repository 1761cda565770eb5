// Writing the chord layout and the single notes' stem directions back into the staff: member order, the
// stem-member, other-side and stem-up bits, gathered tie, beam and group flags, and no element lost.
#include <gtest/gtest.h>

#include "render/arrange_notes.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using test::AutoStem;
using test::ChordBit;

class ArrangeNotesTest : public test::NoteDrawingTest {
protected:
    void AddChord(int x, std::initializer_list<std::pair<unsigned, unsigned>> members, unsigned duration = 4) {
        for (auto [name, octave] : members) AddNote(0, x, name, octave, duration, AutoStem | ChordBit);
    }
    ElementRecord& At(int i) { return Staff(0).elements[static_cast<std::size_t>(i)]; }
    // The index of the member of note name `step`.
    int IndexOfStep(unsigned step) {
        for (int i = 0; i < static_cast<int>(Staff(0).elements.size()); ++i) {
            if (At(i).noteWord().step() == step) return i;
        }
        return -1;
    }
};

TEST_F(ArrangeNotesTest, MembersFollowTheWalkWithTheStemMemberLast) {
    AddChord(500, {{3, 4}, {1, 4}, {2, 4}});
    EXPECT_EQ(ArrangeNotes(dc, Staff(0)), 1);
    ASSERT_EQ(Staff(0).elements.size(), 3u);
    // Up stem: C, D, E from the lowest.
    EXPECT_EQ(At(0).noteWord().step(), 1u);
    EXPECT_EQ(At(1).noteWord().step(), 2u);
    EXPECT_EQ(At(2).noteWord().step(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(At(i).noteWord().bit(19), i == 2) << i;
        EXPECT_EQ(At(i).noteWord().bit(20), i == 1) << i;
        EXPECT_TRUE(At(i).noteWord().bit(21)) << i;
    }
    // Arranging again changes nothing.
    const std::vector<ElementRecord> before = Staff(0).elements;
    ArrangeNotes(dc, Staff(0));
    EXPECT_EQ(Staff(0).elements, before);
}

TEST_F(ArrangeNotesTest, TiesGatherOnTheRootAndTheStemMember) {
    AddChord(500, {{1, 4}, {3, 4}, {5, 4}});
    At(IndexOfStep(3)).w0().setTieStarts(true);
    At(IndexOfStep(3)).w0().setTiedToNext(true);
    ArrangeNotes(dc, Staff(0));
    EXPECT_TRUE(At(0).w0().tieStarts());
    EXPECT_TRUE(At(0).w0().tiedToNext());
    EXPECT_FALSE(At(1).w0().tieStarts());
    EXPECT_FALSE(At(1).w0().tiedToNext());

    // A chord that ends one tie and starts the next carries both on its stem member.
    At(1).w0().setTieEnds(true);
    ArrangeNotes(dc, Staff(0));
    EXPECT_FALSE(At(0).w0().tieStarts());
    EXPECT_TRUE(At(2).w0().tieStarts());
    EXPECT_TRUE(At(2).w0().tieEnds());
    EXPECT_TRUE(At(2).w0().tiedToNext());
}

TEST_F(ArrangeNotesTest, BeamOpeningsGoToTheRootAndClosingsToTheStemMember) {
    AddChord(300, {{1, 4}, {3, 4}}, 5);
    AddChord(600, {{1, 4}, {3, 4}}, 5);
    for (int i = 0; i < 4; ++i) At(i).w0().setInBeam(true);
    At(IndexOfStep(3)).w0().setOpensBeam(true);             // the first chord's E
    At(2 + (At(2).noteWord().step() == 1 ? 0 : 1)).w0().setClosesBeam(true);  // the second chord's C
    ArrangeNotes(dc, Staff(0));
    EXPECT_TRUE(At(0).w0().opensBeam());   // root of the first chord
    EXPECT_FALSE(At(1).w0().opensBeam());
    EXPECT_TRUE(At(3).w0().closesBeam());  // stem member of the second
    EXPECT_FALSE(At(2).w0().closesBeam());
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(At(i).w0().inBeam()) << i;
}

TEST_F(ArrangeNotesTest, AChordThatAloneOpensAndClosesAGroupLeavesIt) {
    AddChord(300, {{1, 4}, {3, 4}}, 5);
    At(IndexOfStep(1)).w0().setOpensBeam(true);
    At(IndexOfStep(3)).w0().setClosesBeam(true);
    for (int i = 0; i < 2; ++i) At(i).w0().setInBeam(true);
    ArrangeNotes(dc, Staff(0));
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(At(i).w0().inBeam());
        EXPECT_FALSE(At(i).w0().opensBeam());
        EXPECT_FALSE(At(i).w0().closesBeam());
    }
}

TEST_F(ArrangeNotesTest, GroupMarksMoveWithTheirFractionAndMembersKeepTheirProportion) {
    AddChord(300, {{1, 4}, {3, 4}, {5, 4}});
    ElementRecord& g = At(IndexOfStep(5));
    g.w0().setGroupMark(1);
    g.w1().setNumerator(3);
    g.w1().setDenominator(2);
    ArrangeNotes(dc, Staff(0));
    EXPECT_EQ(At(0).w0().groupMark(), 1u);
    EXPECT_EQ(At(0).w1().numerator(), 3u);
    EXPECT_EQ(At(0).w1().denominator(), 2u);
    EXPECT_EQ(At(2).w0().groupMark(), 0u);
    EXPECT_EQ(At(2).w1().numerator(), 3u);  // G's own proportion stays
    EXPECT_EQ(At(1).w1().numerator(), 1u);
}

TEST_F(ArrangeNotesTest, TheRootsArticulationFlagsGoToEveryMemberAndTheGatheredFlagToTheStemMember) {
    AddChord(300, {{1, 4}, {3, 4}});
    At(IndexOfStep(1)).noteWord().setStaccato(true);
    At(IndexOfStep(1)).noteWord().setStaccatoOtherSide(true);
    At(IndexOfStep(1)).noteWord().setBit(8, true);
    ArrangeNotes(dc, Staff(0));
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(At(i).noteWord().staccato());
        EXPECT_TRUE(At(i).noteWord().staccatoOtherSide());
        EXPECT_EQ(At(i).noteWord().bit(8), i == 1);
    }
}

TEST_F(ArrangeNotesTest, NoElementIsLostHiddenMembersGoFirst) {
    for (unsigned k = 0; k < 25; ++k) AddNote(0, 500, 1 + k % 7, 2 + k / 7, 4, AutoStem | ChordBit);
    AddRest(0, 800, 4, 4);
    At(7).w0().setHidden(true);
    const std::uint32_t hiddenWord = At(7).typeWord;
    ArrangeNotes(dc, Staff(0));
    ASSERT_EQ(Staff(0).elements.size(), 26u);
    EXPECT_TRUE(At(0).w0().hidden());
    EXPECT_EQ(At(0).noteWord().step(), NoteWordView<const std::uint32_t>(hiddenWord).step());
    EXPECT_FALSE(At(0).noteWord().bit(19));
    EXPECT_TRUE(At(24).noteWord().bit(19));
    EXPECT_TRUE(At(25).isRest());
    // Up stem (the average lies low): the walk runs from the lowest.
    EXPECT_TRUE(At(24).noteWord().bit(21));
    EXPECT_LT(At(1).w0().octave(), At(24).w0().octave());
}

TEST_F(ArrangeNotesTest, SingleNotesRecordTheDirectionOfTheirAutomaticStem) {
    AddNote(0, 300, 1, 4, 4);                  // below the middle line: up
    AddNote(0, 600, 1, 6, 4, test::StemUpFlag);  // fixed up stays up, even high
    AddNote(0, 900, 1, 6, 4);                  // high: down
    At(2).noteWord().setStemFlag(true);
    ArrangeNotes(dc, Staff(0));
    EXPECT_TRUE(At(0).noteWord().stemFlag());
    EXPECT_TRUE(At(1).noteWord().stemFlag());
    EXPECT_FALSE(At(2).noteWord().stemFlag());
}

}  // namespace
}  // namespace notavera
